#pragma once
// What the two result windows share: a fixed white client area with a
// "Файл" menu of "Печать" (the window's own picture on a printer or a PDF
// file) and "Выход" (hides the window; its contents stay for the next run).

#include <QMainWindow>
#include <map>
#include <memory>

#include "ui/widget_views.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QTableWidget;

namespace ohmara {

class Prompts;

class ResultWindow : public QMainWindow {
 public:
  ResultWindow(Prompts& prompts, const char* name, const QString& caption, int clientWidth, int clientHeight);

  // Prints the window's picture scaled to the page, after the printer dialog.
  void PrintPicture();

 protected:
  QWidget* client() const { return client_; }
  QTableWidget* AddGrid(const char* name, QRect bounds);
  QPlainTextEdit* AddMemo(const char* name, QRect bounds, bool bold = false);
  // The view the analysis writes through, for a grid or memo of this window.
  GridView& ViewOf(QTableWidget* grid) { return *grids_.at(grid); }
  MemoView& ViewOf(QPlainTextEdit* memo) { return *memos_.at(memo); }

  // The objectNames of the "Печать" and "Выход" items, which differ per window.
  void NameMenuItems(const char* print, const char* exit);

 private:
  QAction* printAction_ = nullptr;
  QAction* exitAction_ = nullptr;
  Prompts& prompts_;
  QWidget* client_;
  std::map<QTableWidget*, std::unique_ptr<WidgetGrid>> grids_;
  std::map<QPlainTextEdit*, std::unique_ptr<WidgetMemo>> memos_;
};

}  // namespace ohmara
