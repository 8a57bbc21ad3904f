#include "ui/common/form_widget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

namespace numora {

namespace {
constexpr double kTwipsPerPixel = 15.0;
constexpr double kPixelsPerPoint = 96.0 / 72.0;
}  // namespace

QColor VbColour(unsigned bbggrr) {
  return QColor(static_cast<int>(bbggrr & 0xFF), static_cast<int>((bbggrr >> 8) & 0xFF),
                static_cast<int>((bbggrr >> 16) & 0xFF));
}

void SetBackColour(QWidget* w, unsigned bbggrr) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, VbColour(bbggrr));
  p.setColor(QPalette::Button, VbColour(bbggrr));
  p.setColor(QPalette::Base, VbColour(bbggrr));
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

void SetForeColour(QWidget* w, unsigned bbggrr) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, VbColour(bbggrr));
  p.setColor(QPalette::ButtonText, VbColour(bbggrr));
  p.setColor(QPalette::Text, VbColour(bbggrr));
  w->setPalette(p);
}

FormWidget::FormWidget(QWidget* parent) : QWidget(parent) {
  resize(1024, 768);
  setAutoFillBackground(true);
  SetFormFont(this);
}

FormWidget::Item* FormWidget::find(QWidget* w) {
  for (auto& it : items_) {
    if (it.widget == w) {
      return &it;
    }
  }
  return nullptr;
}

const FormWidget::Item* FormWidget::find(QWidget* w) const {
  for (const auto& it : items_) {
    if (it.widget == w) {
      return &it;
    }
  }
  return nullptr;
}

void FormWidget::place(QWidget* w, int left, int top, int width, int height) {
  Item* it = find(w);
  if (it == nullptr) {
    items_.push_back(Item{w, QRect(), 0, false});
    it = &items_.back();
  }
  it->twips = QRect(left, top, width, height);
  apply(*it);
}

void FormWidget::move(QWidget* w, int left, int top) {
  QRect r = twipRect(w);
  place(w, left, top, r.width(), r.height());
}

void FormWidget::resizeTwips(QWidget* w, int width, int height) {
  QRect r = twipRect(w);
  place(w, r.left(), r.top(), width < 0 ? r.width() : width, height < 0 ? r.height() : height);
}

QRect FormWidget::twipRect(QWidget* w) const {
  const Item* it = find(w);
  return it != nullptr ? it->twips : QRect();
}

void FormWidget::setFontPoints(QWidget* w, double points, bool bold) {
  Item* it = find(w);
  if (it == nullptr) {
    items_.push_back(Item{w, QRect(), 0, false});
    it = &items_.back();
    it->twips = QRect(-1, -1, -1, -1);
  }
  it->points = points;
  it->bold = bold;
  apply(*it);
}

void FormWidget::setBackColour(unsigned bbggrr) {
  SetBackColour(this, bbggrr);
}

void FormWidget::apply(Item& item) {
  QWidget* w = item.widget;
  if (w == nullptr) {
    return;
  }
  if (item.twips.width() >= 0 && item.twips != QRect(-1, -1, -1, -1)) {
    const double f = scale_ / kTwipsPerPixel;
    const bool topLevelChild = w->parentWidget() == this;
    const int x =
        static_cast<int>(std::lround(item.twips.left() * f)) + (topLevelChild ? offset_.x() : 0);
    const int y =
        static_cast<int>(std::lround(item.twips.top() * f)) + (topLevelChild ? offset_.y() : 0);
    const int right = static_cast<int>(std::lround((item.twips.left() + item.twips.width()) * f));
    const int bottom = static_cast<int>(std::lround((item.twips.top() + item.twips.height()) * f));
    const int left = static_cast<int>(std::lround(item.twips.left() * f));
    const int top = static_cast<int>(std::lround(item.twips.top() * f));
    w->setGeometry(x, y, std::max(0, right - left), std::max(0, bottom - top));
  }
  if (item.points > 0) {
    QFont font = w->font();
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(item.points * kPixelsPerPoint * scale_))));
    font.setBold(item.bold);
    w->setFont(font);
  }
}

void FormWidget::relayout() {
  items_.erase(
      std::remove_if(items_.begin(), items_.end(), [](const Item& i) { return i.widget.isNull(); }),
      items_.end());
  for (auto& it : items_) {
    apply(it);
  }
}

void FormWidget::resizeEvent(QResizeEvent* event) {
  const QSize s = event->size();
  scale_ = std::min(s.width() / 1024.0, s.height() / 768.0);
  if (scale_ <= 0) {
    scale_ = 1.0;
  }
  offset_ = QPoint(static_cast<int>((s.width() - 1024.0 * scale_) / 2),
                   static_cast<int>((s.height() - 768.0 * scale_) / 2));
  relayout();
  QWidget::resizeEvent(event);
}

void FormWidget::showOnWholeScreen() {
  const QScreen* onScreen = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (onScreen != nullptr) {
    setGeometry(onScreen->geometry());
  }
  showFullScreen();
}

void FormWidget::keyPressEvent(QKeyEvent* event) {
  // A command button lets Enter pass (it takes only Space); it reaches the form here.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const auto modifiers =
      event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
  if (enter && modifiers == Qt::NoModifier && !event->isAutoRepeat()) {
    auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
    if (button != nullptr && button->window() == this && button->isEnabled() &&
        button->isVisible()) {
      button->click();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

void FormWidget::UnloadWhenIdle() {
  hide();
  if (unloadPending_) {
    return;
  }
  unloadPending_ = true;
  if (busy_ == 0) {
    deleteLater();
  }
}

namespace {

// Characters stored in one byte of the text files (ASCII and half-width katakana) take one
// half-width cell; every other character takes two, as in a fixed-pitch Japanese font.
bool HalfWidth(char32_t c) {
  return c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
}

// Paints a list line on a grid of half-width cells, as a fixed-pitch Japanese font shows it, so
// that the fields of the lines stay in columns whatever width the font gives characters such as
// "×", "①" or "Ⅰ".
class CellTextDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    const QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const QFontMetricsF metrics(opt.font);
    const qreal baseline = r.top() + (r.height() - metrics.height()) / 2 + metrics.ascent();
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(
        (opt.state & QStyle::State_Selected) != 0 ? QPalette::HighlightedText : QPalette::Text));
    DrawOnCells(*painter, metrics, QPointF(r.left() + 2, baseline), text);
    painter->restore();
  }
};

void SetFamilies(QWidget* w, const QStringList& families) {
  QFont f = w->font();
  f.setFamilies(families);
  w->setFont(f);
}

}  // namespace

void DrawOnCells(QPainter& painter, const QFontMetricsF& metrics, QPointF at, const QString& text) {
  const qreal half = metrics.horizontalAdvance(QLatin1Char('0'));
  qreal x = at.x();
  for (qsizetype i = 0; i < text.size();) {
    char32_t c = text[i].unicode();
    qsizetype units = 1;
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(text[i], text[i + 1]);
      units = 2;
    }
    const QString ch = text.mid(i, units);
    const qreal cell = HalfWidth(c) ? half : 2 * half;
    painter.drawText(QPointF(x + (cell - metrics.horizontalAdvance(ch)) / 2, at.y()), ch);
    x += cell;
    i += units;
  }
}

void SetFormFont(QWidget* w) {
  SetFamilies(w, {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("MS UI Gothic")});
}

void ShowLinesOnCells(QAbstractItemView* list) {
  SetFamilies(list, {QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("MS Gothic"),
                     QStringLiteral("monospace")});
  list->setItemDelegate(new CellTextDelegate(list));
}

}  // namespace numora
