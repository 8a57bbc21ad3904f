#include "ui/roster/version_window.h"

#include <QFrame>
#include <QPushButton>
#include <cmath>

#include "ui/common/form_widget.h"
#include "version.h"

namespace numora {

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr double kPixelsPerPoint = 96.0 / 72.0;
constexpr const char* kMaker = "Quillmark";
constexpr const char* kAboutLine = "約数をすばやく見つける練習をしましょう。";

int Px(double twips, double scale) {
  return static_cast<int>(std::lround(twips * scale / kTwipsPerPixel));
}

}  // namespace

QString VersionLabelText() {
  return QStringLiteral("Version") + QStringLiteral(NUMORA_VERSION_TEXT);
}

VersionWindow::VersionWindow(AppContext& ctx, QWidget* parent, double scale)
    : QDialog(parent), ctx_(ctx), scale_(scale > 0 ? scale : 1.0) {
  setObjectName(QStringLiteral("frmver"));
  setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
  setModal(true);
  SetFormFont(this);
  setFixedSize(Px(kWidthTwips, scale_), Px(kHeightTwips, scale_));

  Shape1 = new QFrame(this);
  Shape1->setObjectName(QStringLiteral("Shape1"));
  Shape1->setFrameShape(QFrame::Box);
  Shape1->setLineWidth(2);
  Place(Shape1, 240, 180, 6120, 2760, 0, false);

  auto label = [this](const char* name) {
    auto* l = new QLabel(this);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignCenter);
    return l;
  };
  Label1 = label("Label1");
  Place(Label1, 360, 300, 5880, 900, 24, true);
  Label2 = label("Label2");
  Place(Label2, 360, 1260, 5880, 420, 12, false);
  Label4 = label("Label4");
  Place(Label4, 360, 1740, 5880, 420, 12, false);
  Label5 = label("Label5");
  Label5->setWordWrap(true);
  Place(Label5, 360, 2220, 5880, 600, 10, false);

  Command1 = new QPushButton(QStringLiteral("O.K."), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);
  Place(Command1, 2400, 3180, 1800, 720, 12, true);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

VersionWindow::~VersionWindow() = default;

void VersionWindow::Place(QWidget* w, int left, int top, int width, int height, double points,
                          bool bold) {
  w->setGeometry(Px(left, scale_), Px(top, scale_), Px(width, scale_), Px(height, scale_));
  if (points > 0) {
    QFont f = w->font();
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(points * kPixelsPerPoint * scale_))));
    f.setBold(bold);
    w->setFont(f);
  }
}

void VersionWindow::Form_Activate() {
  ctx_.services.host.ProcessEvents();
  ctx_.services.host.ProcessEvents();
  Label1->setText(QString::fromStdString(ctx_.state.programTitle));
  Label2->setText(VersionLabelText());
  Label4->setText(QString::fromUtf8(kMaker));
  Label5->setText(QString::fromUtf8(kAboutLine));
}

void VersionWindow::Command1_Click() {
  accept();
}

void ShowVersionBox(AppContext& ctx, QWidget* over, double scale) {
  VersionWindow box(ctx, over, scale);
  if (over != nullptr) {
    const QPoint topLeft((over->width() - box.width()) / 2, (over->height() - box.height()) / 2);
    box.move(over->mapToGlobal(topLeft));
  }
  box.show();
  box.Form_Activate();
  box.exec();
}

}  // namespace numora
