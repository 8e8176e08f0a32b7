#pragma once
// "Редактор": the circuit drawn on a grid sheet from element pictures and
// wires the editor routes itself. The drawing lives in the editor core; the
// window forwards presses and commands to it, asks the add-branch dialog for
// element values, paints what the core returns and words its results. The
// drawing survives switching between the windows: only "Del", a loaded
// scheme or a drawn table replace it.

#include <QMainWindow>
#include <array>
#include <memory>
#include <utility>

#include "editor/sheet_editor.h"
#include "ui/command_guard.h"

class QAction;
class QLabel;
class QPushButton;

namespace ohmara {

class AddBranchDialog;
class ElementPictures;
class MainWindow;
class Prompts;
class SheetCanvas;

class EditorWindow : public QMainWindow {
  Q_OBJECT

 public:
  EditorWindow(Prompts& prompts, MainWindow& mainWindow, AddBranchDialog& addBranchDialog);
  ~EditorWindow() override;

  // The picture of the drawing, as the sheet shows it (the printed report copies it).
  const QImage& SheetImage() const;
  const SheetEditor& sheetEditor() const { return editor_; }

 private:
  void BuildSheet(QWidget* client);
  void BuildTools(QWidget* client);
  void BuildMenu();
  void BuildStatusBar();
  // The four tool buttons and the tools they choose.
  std::array<std::pair<QPushButton*, SheetTool>, 4> ToolButtons() const;
  void ShowToolStates();
  void ShowStatus(const QString& text);
  void ShowNormalStatus();
  void Run(const Command& command);

  // The commands, one per button, menu item or press on the sheet.
  void ChooseTool(SheetTool tool);
  void PressSheet(QPoint pixel);
  void PlaceBranch(const BranchPlacement& placement);
  void ShowRouteFailure(PressResult result);
  void ClearSheet();
  void LoadScheme();
  void SaveScheme();
  void WriteTableFile();
  void TransferToMainWindow();
  void DrawMainWindowTable();

  Prompts& prompts_;
  MainWindow& mainWindow_;
  AddBranchDialog& addBranchDialog_;
  CommandGuard guard_;
  SheetEditor editor_;
  std::unique_ptr<ElementPictures> pictures_;

  SheetCanvas* sheet_ = nullptr;
  QPushButton* horizontalBranchButton_ = nullptr;
  QPushButton* verticalBranchButton_ = nullptr;
  QPushButton* deleteBranchButton_ = nullptr;
  QPushButton* connectButton_ = nullptr;
  QPushButton* clearButton_ = nullptr;
  QPushButton* tableFileButton_ = nullptr;
  QPushButton* transferButton_ = nullptr;
  QPushButton* drawTableButton_ = nullptr;
  QAction* loadSchemeAction_ = nullptr;
  QAction* saveSchemeAction_ = nullptr;
  QLabel* statusText_ = nullptr;
};

}  // namespace ohmara
