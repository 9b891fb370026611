#pragma once
// Helpers of the tests that drive the real main window.
#include <QAction>
#include <QApplication>
#include <QString>
#include <QTest>
#include <filesystem>
#include <optional>

#include "TestPaths.h"
#include "core/problem/Problem.h"
#include "gui/TMainForm.h"

namespace vesk::guitest {

// The problem shipped with the program.
inline QString SampleProblem() {
  return QString::fromStdString((vesk::test::SourceDir() / "examples" / "sample.tri").string());
}

// A problem of the shared examples, or nothing when they are absent.
inline std::optional<QString> SharedExample(const char* name) {
  const auto dir = vesk::test::ExamplesDir();
  if (!dir || !std::filesystem::exists(*dir / name)) return std::nullopt;
  return QString::fromStdString((*dir / name).string());
}

// The menu action (or context-menu action) called `name`.
inline QAction* Item(vesk::gui::TMainForm& form, const QString& name) {
  return form.findChild<QAction*>(name);
}

// Triggers `name` as a click on the menu item does, and lets the window settle.
inline bool Trigger(vesk::gui::TMainForm& form, const QString& name) {
  QAction* action = Item(form, name);
  if (!action) return false;
  action->trigger();
  QApplication::processEvents();
  return true;
}

// The four tables and the counts, to tell whether a command left the problem alone.
struct ProblemSnapshot {
  explicit ProblemSnapshot(const vesk::core::Problem& p)
      : A(p.AGrid), F(p.FGrid), B(p.BGrid), C(p.CGrid),
        n(p.NumCriteria), m(p.NumActions), K(p.NumCategories), constraints(p.NumConstraints) {}
  bool operator==(const ProblemSnapshot&) const = default;
  vesk::core::Grid A, F, B, C;
  int n, m, K, constraints;
};

}  // namespace vesk::guitest
