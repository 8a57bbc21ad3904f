#pragma once

#include <QAbstractItemView>
#include <QPointF>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

class QFontMetricsF;
class QPainter;

namespace numora {

// A UTF-8 text of the core as a Qt string.
inline QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

// The object name of element i of a control array: "Label1(7)".
inline QString Indexed(const char* name, int i) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

// A full-screen form laid out on the 1024 × 768 logical canvas in twips (15 twips per pixel,
// 15360 × 11520 twips). Children are placed in twips relative to their parent (the form or a
// panel inside it) and the whole layout, fonts included, scales uniformly to fill the window,
// centred with the background colour around it when the aspect ratio differs.
class FormWidget : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kCanvasTwipsWidth = 15360;
  static constexpr int kCanvasTwipsHeight = 11520;

  explicit FormWidget(QWidget* parent = nullptr);

  // Places w at twip coordinates inside its parent widget.
  void place(QWidget* w, int left, int top, int width, int height);
  // Moves or resizes an already placed widget (twips); a width or height of -1 keeps it.
  void move(QWidget* w, int left, int top);
  void resizeTwips(QWidget* w, int width, int height);
  QRect twipRect(QWidget* w) const;
  // Font size in points (as the form designer gives it), scaled with the form.
  void setFontPoints(QWidget* w, double points, bool bold = false);
  // Background of the form (and the margin around the canvas).
  void setBackColour(unsigned bbggrr);
  double scale() const { return scale_; }
  // Re-applies every placement at the current scale.
  void relayout();
  // Shows the form over the whole screen it is on, the canvas scaled to it. Sized here as well,
  // since without a window manager (kiosk set-ups) nobody acts on the full-screen request.
  void showOnWholeScreen();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // Enter presses the command button with the focus, as Space does.
  void keyPressEvent(QKeyEvent* event) override;

  // Marks a handler of the form as running. Handlers can nest (a wait lets clicks and ticks
  // through); the last one to finish deletes a form that was unloaded meanwhile, so a form is
  // never freed under a handler still running on it.
  class Busy {
   public:
    explicit Busy(FormWidget* form) : form_(form) { ++form_->busy_; }
    ~Busy() {
      if (--form_->busy_ == 0 && form_->unloadPending_) {
        form_->deleteLater();
      }
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

   private:
    FormWidget* form_;
  };
  // Hides the form and deletes it as soon as no handler of it is running. Unloading twice is
  // harmless.
  void UnloadWhenIdle();
  bool handlerRunning() const { return busy_ > 0; }

 private:
  struct Item {
    QPointer<QWidget> widget;
    QRect twips;
    double points = 0;
    bool bold = false;
  };
  Item* find(QWidget* w);
  const Item* find(QWidget* w) const;
  void apply(Item& item);
  std::vector<Item> items_;
  double scale_ = 1.0;
  QPoint offset_;
  int busy_ = 0;
  bool unloadPending_ = false;
};

// The Japanese user-interface font every window uses (set on each form by its constructor).
void SetFormFont(QWidget* w);
// Shows the lines of a list in a fixed-pitch Japanese font on a grid of half-width cells, as the
// lines are designed to be read: their fields stay in columns whatever width the font gives
// characters such as "×", "①" or "Ⅰ". The items' texts are unchanged.
void ShowLinesOnCells(QAbstractItemView* list);
// Draws a text from the baseline point at on a grid of half-width cells: characters stored in
// one byte of the text files take one cell, every other character two, each centred in its cells.
void DrawOnCells(QPainter& painter, const QFontMetricsF& metrics, QPointF at, const QString& text);

// A colour written &H00BBGGRR.
QColor VbColour(unsigned bbggrr);
// Sets the background colour of a widget (labels, panels, buttons).
void SetBackColour(QWidget* w, unsigned bbggrr);
void SetForeColour(QWidget* w, unsigned bbggrr);

}  // namespace numora
