#include <gtest/gtest.h>

#include "EngineFixtures.h"
#include "engine/Paraunit.h"

namespace vesk::engine::test {
namespace {

TEST(Paraunit, BuiltInTableIsTypedAndCopiedIntoTheEngine) {
  RecordingHost host;
  EngineModel model(host);
  const ParameterTable& p = model.parameters;
  EXPECT_EQ(p.Count(), 27);
  EXPECT_EQ(p.IntegerValue(host, "MAXITER"), 2000000000);
  EXPECT_DOUBLE_EQ(p.RealValue(host, "DJ-MIN"), -1e-6);
  EXPECT_DOUBLE_EQ(p.Entry(p.Lookup("DJ-MIN")).minimum, -1000);
  EXPECT_DOUBLE_EQ(p.Entry(p.Lookup("DJ-MIN")).maximum, -1e-12);
  EXPECT_FALSE(p.BooleanValue(host, "LOGFILE"));
  EXPECT_TRUE(p.BooleanValue(host, "ASSESS-PSE"));
  EXPECT_EQ(p.TextValue(host, "DESTINATION"), "LPT3");
  EXPECT_EQ(model.pricing, 30000);
  EXPECT_EQ(model.printer.pitch, 20);
  EXPECT_TRUE(host.boxes.empty());  // the built-in lines parse cleanly
}

TEST(Paraunit, LineParsingRepairsNumbersAndReportsBadValues) {
  struct Case {
    const char* line;
    double value;
    const char* message;  // expected message box, or "" for none
  };
  const Case cases[] = {
      {"0 A=-.5E-6 -1 1", -5e-7, ""},
      {"0 A=1. 0 2", 1.0, ""},
      {"1 A=2E9 0 2E9", 2e9, ""},
      {"1 A=2.5 0 10", 2.5, "Value for PARAMETER A is not LONGINT"},
      {"0 A=1x2 0 1", 0.0, "WRONG NUMBER FORMAT 1X2"},
      {"2 A=j", 1.0, ""},
      {"2 A=N", 0.0, ""},
      {"2 A=maybe", 0.0, "Value for PARAMETER A is not BOOLEAN"},
      {"X A=1", 1.0, "WRONG NUMBER FORMAT X"},
  };
  for (const Case& c : cases) {
    RecordingHost host;
    ParameterTable table;
    table.FillFromLines(host, {c.line});
    SCOPED_TRACE(c.line);
    EXPECT_EQ(table.Entry(0).name, "A");
    if (table.Entry(0).type != kTextParameter) {
      EXPECT_DOUBLE_EQ(table.Entry(0).value, c.value);
    }
    if (*c.message) {
      ASSERT_EQ(host.boxes.size(), 1u);
      EXPECT_EQ(host.boxes[0], c.message);
    } else {
      EXPECT_TRUE(host.boxes.empty());
    }
  }
}

TEST(Paraunit, LineWithoutEqualsIsReportedAndTooManyLinesAreFatal) {
  RecordingHost host;
  ParameterTable table;
  table.FillFromLines(host, {"1 NOVALUE 3"});
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0], "Error in File in row 1 NOVALUE 3");

  std::vector<std::string> lines(51, "1 A=1 0 1");
  EXPECT_THROW(table.FillFromLines(host, lines), EngineFatalError);
  EXPECT_TRUE(host.Asked("MAXPAR is too small"));
}

TEST(Paraunit, UnknownNameIsFatalAndWrongTypeIsReported) {
  RecordingHost host;
  EngineModel model(host);
  EXPECT_THROW(model.parameters.RealValue(host, "NO-SUCH"), EngineFatalError);
  EXPECT_TRUE(host.Asked("Parameter NO-SUCH not found"));
  model.parameters.RealValue(host, "MAXITER");
  EXPECT_TRUE(host.Asked("Wrong Parametertype MAXITER"));
}

TEST(Paraunit, SetParameterParsesByTypeAndUpdatesTheEngine) {
  RecordingHost host;
  EngineModel model(host);
  std::string error;
  EXPECT_TRUE(model.SetParameter("maxiter", "5", error));
  EXPECT_EQ(model.maxIter, 5);
  EXPECT_TRUE(model.SetParameter("DJ-MIN", "-.5E-7", error));
  EXPECT_DOUBLE_EQ(model.djMin, -5e-8);
  EXPECT_TRUE(model.SetParameter("LOGFILE", "j", error));
  EXPECT_TRUE(model.logFile);

  struct Bad {
    const char* name;
    const char* value;
    const char* error;
  };
  const Bad bad[] = {{"NO-SUCH", "1", "Parameter NO-SUCH not found"},
                     {"MAXITER", "2.5", "Value for PARAMETER MAXITER is not LONGINT"},
                     {"MAXITER", "ten", "WRONG NUMBER FORMAT TEN"},
                     {"PSE", "1", "Value for PARAMETER PSE is not BOOLEAN"}};
  for (const Bad& b : bad) {
    error.clear();
    EXPECT_FALSE(model.SetParameter(b.name, b.value, error)) << b.name;
    EXPECT_EQ(error, b.error);
  }
  EXPECT_EQ(model.maxIter, 5);  // unchanged by the refused values
  EXPECT_TRUE(model.pse);
  EXPECT_FALSE(model.HasParameter("NO-SUCH"));
  EXPECT_TRUE(model.HasParameter("Such-Tiefe"));
}

TEST(Paraunit, ShortNumberFormat) {
  const std::pair<double, const char*> cases[] = {
      {0, "0"},          {2e9, "2E9"},         {1e30, "1E30"},       {-1e-12, "-1E-12"},
      {0.5, "0.5"},      {-3.25, "-3.25"},     {123456.5, "123456.5"}, {1e6, "1E6"},
      {1e-6, "1E-6"},    {2.000001e-6, "0.000002"}, {1.5e-3, "0.0015"}, {100, "100"},
      {1234567.0, "1.234567E6"},
  };
  for (const auto& [x, text] : cases) EXPECT_EQ(ShortNumber(x), text) << x;
}

}  // namespace
}  // namespace vesk::engine::test
