// Placeholder bodies of the secondary forms, replaced form by form by their own files.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QMessageBox>

#include "gui/Forms.h"
#include "gui/HelpPages.h"
#include "gui/QtEngineHost.h"

namespace vesk::gui {

TNewFileForm::TNewFileForm(core::UserDialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {}
std::optional<core::NewProblemFields> TNewFileForm::Run() { return exec() == QDialog::Accepted ? std::optional(core::NewProblemFields{}) : std::nullopt; }

TIAForm::TIAForm(const core::Problem& problem, const core::SortingState& state, core::InconsistencyAnalysis& analysis,
                 core::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), problem_(problem), state_(state), analysis_(analysis), dialogs_(dialogs) {}
void TIAForm::ShowModalOver(QWidget*, const CellSizes&) { exec(); }

TVolumeForm::TVolumeForm(const core::Problem& problem, const core::SortingState& state, core::VolumeWindow& window,
                         core::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), problem_(problem), state_(state), window_(window), dialogs_(dialogs) {}
void TVolumeForm::ShowModal() { exec(); }

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) { setWindowTitle("About"); }
TGetHelpForm::TGetHelpForm(const QString&, QWidget* parent) : QDialog(parent) { setWindowTitle("How to get help"); }
Ttfernform::Ttfernform(QWidget* parent) : QWidget(parent) {}

QString ProgramFolder() { return QCoreApplication::applicationDirPath() + "/"; }
QString ManualFolder() { return ProgramFolder() + "Manual/"; }
bool ShowHelpPage(const QString&, core::UserDialogs&) { return false; }

QtEngineHost::QtEngineHost(QWidget* parent) : parent_(parent) {}
engine::EngineHost::Answer QtEngineHost::MessageBox(std::string_view) { return Answer::Cancel; }
bool QtEngineHost::ReadNumber(std::string_view, double&) { return false; }
void QtEngineHost::ProcessPendingEvents() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }
double QtEngineHost::ClockSeconds() { return QDateTime::currentMSecsSinceEpoch() / 1000.0; }
long long QtEngineHost::HeapBytes() { return engineHeap_; }
void QtEngineHost::NoteEngineHeapBytes(long long bytes) { engineHeap_ = bytes; }
std::filesystem::path QtEngineHost::WorkingFolder() { return std::filesystem::current_path(); }

}  // namespace vesk::gui
