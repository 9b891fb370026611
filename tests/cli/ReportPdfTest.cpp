// vesk-cli robust --pdf: the printed report written without a window, read
// back with poppler's pdfinfo and pdftotext.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <regex>

#include "CliRun.h"
#include "PdfText.h"
#include "TestPaths.h"
#include "core/problem/ParameterNames.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"

namespace vesk::cli {
namespace {

namespace fs = std::filesystem;

using test::ShellQuote;

class ReportPdf : public testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(test::CliPath().parent_path() / "vesk-paint")) GTEST_SKIP() << "built without the painter";
    if (!test::PdfToolsInstalled()) GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
    dir_ = test::FreshTempDir("report-pdf");
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  // Runs robust on `problem` with --pdf and --json; the JSON object.
  nlohmann::json Robust(const fs::path& problem, const fs::path& pdf) {
    const test::CliRun run =
        test::RunCli("robust " + ShellQuote(problem.string()) + " --json --pdf " + ShellQuote(pdf.string()));
    EXPECT_EQ(run.code, 0) << run.err;
    return nlohmann::json::parse(run.out, nullptr, false);
  }

  static core::Problem Read(const fs::path& file) {
    core::Problem p;
    core::ScriptedDialogs dialogs;
    EXPECT_TRUE(core::ReadProblemFile(p, dialogs, file.string()));
    return p;
  }

  static std::string Format(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
  }

  static bool Has(const std::string& text, const std::string& pattern) {
    return std::regex_search(text, std::regex(pattern));
  }

  // `text` quoted for a regular expression.
  static std::string Literal(const std::string& text) {
    return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
  }

  fs::path dir_;
};

TEST_F(ReportPdf, ConsistentProblemListsTheRangesAndTheVectorByName) {
  const fs::path problem = test::SourceDir() / "examples" / "sample.tri", pdf = dir_ / "sample.pdf";
  const nlohmann::json r = Robust(problem, pdf);
  ASSERT_TRUE(r.is_object());
  ASSERT_TRUE(r["consistent"].get<bool>());
  const auto pages = test::PdfPages(pdf);
  ASSERT_TRUE(pages) << "pdfinfo refused the file";
  EXPECT_GE(*pages, 1);
  const std::string text = test::PdfText(pdf);
  const core::Problem p = Read(problem);

  EXPECT_TRUE(Has(text, "Worst\\s+Inferred\\s+Best\\s+Holes")) << text;
  for (int a = 1; a <= p.NumActions; ++a) {
    const std::size_t i = static_cast<std::size_t>(a - 1);
    // Name, worst, inferred and best on one line of the results table.
    const std::string row = Literal(p.AGrid.Cell(a, 0)) + "\\s+C" + std::to_string(r["worst"][i].get<int>()) +
                            "\\s+C" + std::to_string(r["inferred_category"][i].get<int>()) + "\\s+C" +
                            std::to_string(r["best"][i].get<int>());
    EXPECT_TRUE(Has(text, row)) << row;
  }
  for (int v = 0; v <= p.NumCriteria; ++v) {
    const std::string entry = Literal(core::ParameterLabel(p, v)) + "\\s+" +
                              Literal(Format("%.5g", r["inferred_params"][static_cast<std::size_t>(v)].get<double>()));
    EXPECT_TRUE(Has(text, entry)) << entry;
  }
  EXPECT_TRUE(Has(text, "GEOMETRIC MEAN FOR No\\. CATEGORIES.*" + Literal(Format("%.3f", r["index"].get<double>()))));
  // The legend of the ranges picture, and the input below the results.
  EXPECT_NE(text.find("unreachable category inside the range"), std::string::npos);
  EXPECT_NE(text.find("ad1: -k1 + k2 >= 0"), std::string::npos) << text;
}

TEST_F(ReportPdf, InconsistentProblemListsTheViolatedRows) {
  const auto examples = test::ExamplesDir();
  if (!examples) GTEST_SKIP() << "example problems not found";
  const fs::path pdf = dir_ / "conflict.pdf";
  const nlohmann::json r = Robust(*examples / "conflict.tri", pdf);
  ASSERT_TRUE(r.is_object());
  ASSERT_FALSE(r["consistent"].get<bool>());
  ASSERT_TRUE(test::PdfPages(pdf));
  const std::string text = test::PdfText(pdf);
  EXPECT_NE(text.find("The information is inconsistent"), std::string::npos);
  EXPECT_NE(text.find("Violated rows of the inference program"), std::string::npos);
  for (const auto& row : r["violated_rows"]) EXPECT_TRUE(Has(text, "\\n\\s*" + std::to_string(row.get<int>()) + "\\s+\\S"));
  EXPECT_EQ(text.find("GEOMETRIC MEAN"), std::string::npos);
}

TEST_F(ReportPdf, UnwritableFileIsToldAndOtherNamesRefused) {
  const std::string problem = ShellQuote((test::SourceDir() / "examples" / "sample.tri").string());
  const test::CliRun unwritable = test::RunCli("robust " + problem + " --pdf " + ShellQuote((dir_ / "no" / "r.pdf").string()));
  EXPECT_EQ(unwritable.code, 1);
  EXPECT_NE(unwritable.err.find("Disk write error"), std::string::npos) << unwritable.err;
  EXPECT_NE(unwritable.out.find("GEOMETRIC MEAN"), std::string::npos);
  const test::CliRun other = test::RunCli("robust " + problem + " --pdf " + ShellQuote((dir_ / "r.txt").string()));
  EXPECT_EQ(other.code, 2);
  EXPECT_FALSE(fs::exists(dir_ / "r.txt"));
}

}  // namespace
}  // namespace vesk::cli
