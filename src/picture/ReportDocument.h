#pragma once
// The printed report: the problem and its results laid out as a paginated
// document (title, file and date; the criteria with their directions,
// profiles and thresholds; bounds and constraints; the actions with their
// performances and examples; the results table in the order shown, the ranges
// picture with its legend, the inferred parameter vector, the robustness
// index, and after an inconsistent run the violated rows). The window prints
// it and exports it as PDF; vesk-paint writes the PDF for the command line.
#include <QDateTime>
#include <memory>
#include <string>

#include "core/problem/Problem.h"
#include "core/sorting/SortingState.h"

class QPagedPaintDevice;
class QTextDocument;

namespace vesk::picture {

class ReportDocument {
 public:
  // The report of `problem` and `state` as of `when` (its date line).
  ReportDocument(const core::Problem& problem, const core::SortingState& state, const QDateTime& when);
  ~ReportDocument();
  ReportDocument(const ReportDocument&) = delete;
  ReportDocument& operator=(const ReportDocument&) = delete;

  const QTextDocument& Document() const;

  // Lays the document out on the pages of `device` (a printer, a PDF
  // writer), with page numbers.
  void Print(QPagedPaintDevice& device) const;

  // Writes the document as an A4 PDF file, through a temporary file beside
  // `path` that is renamed into place. False when it could not be written.
  bool WritePdf(const std::string& path) const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace vesk::picture
