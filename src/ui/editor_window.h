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
#include <vector>

#include "editor/sheet_editor.h"
#include "ui/command_guard.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;

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

  // Before the program ends: asks about unsaved changes; false when the
  // student chose to stay. After true the window closes without asking.
  bool AskBeforeQuit();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildSheet(QWidget* client);
  void BuildTools(QWidget* client);
  void BuildMenu();
  void BuildEditMenu();
  void BuildViewMenu();
  void BuildKeys();
  QAction* AddCommand(QMenu* menu, const char* name, const QString& text, void (EditorWindow::*command)());
  // After every change: the whole picture, the marks, the commands' states and the title.
  void Refresh();
  void ShowMarks();
  void ShowCommandStates();
  // Whether the drawing may be replaced: unchanged, or saved or given up
  // when asked «Сохранить изменения в схеме?».
  bool MaySetDrawingAside();
  bool SaveSchemeAs();
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
  void DragSheet(QPoint pixel);
  void ReleaseSheet(QPoint pixel);
  void OpenContextMenu(QPoint pixel, QPoint screen);
  void Undo();
  void Redo();
  void CancelAction();
  void EditValues();
  void DeleteSelection();
  void MoveBy(int cellsRight, int cellsDown);
  void ShowEditResult(EditResult result, const QString& refused);
  void ZoomBy(double factor);
  void ZoomToFit();
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
  QAction* undoAction_ = nullptr;
  QAction* redoAction_ = nullptr;
  QAction* editValuesAction_ = nullptr;
  QAction* deleteAction_ = nullptr;
  QMenu* contextMenu_ = nullptr;
  QScrollArea* sheetScroll_ = nullptr;
  // The window's first and smallest size, and the tools at the right edge
  // with their places at that size.
  QSize smallestSize_;
  std::vector<std::pair<QWidget*, QPoint>> rightTools_;
  QLabel* statusText_ = nullptr;
  // Where a drag of the selected branch began, and how far it has gone.
  std::optional<QPoint> dragOrigin_;
  QPoint dragCells_;
  QString schemeName_;
  bool quitting_ = false;
};

}  // namespace ohmara
