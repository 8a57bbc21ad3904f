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

  frame_ = new QFrame(this);
  frame_->setObjectName(QStringLiteral("Shape1"));
  frame_->setFrameShape(QFrame::Box);
  frame_->setLineWidth(2);
  Place(frame_, 240, 180, 6120, 2760, 0, false);

  auto label = [this](const char* name) {
    auto* l = new QLabel(this);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignCenter);
    return l;
  };
  titleLabel_ = label("Label1");
  Place(titleLabel_, 360, 300, 5880, 900, 24, true);
  versionLabel_ = label("Label2");
  Place(versionLabel_, 360, 1260, 5880, 420, 12, false);
  makerLabel_ = label("Label4");
  Place(makerLabel_, 360, 1740, 5880, 420, 12, false);
  textLabel_ = label("Label5");
  textLabel_->setWordWrap(true);
  Place(textLabel_, 360, 2220, 5880, 600, 10, false);

  okButton_ = new QPushButton(QStringLiteral("O.K."), this);
  okButton_->setObjectName(QStringLiteral("Command1"));
  okButton_->setDefault(true);
  Place(okButton_, 2400, 3180, 1800, 720, 12, true);
  connect(okButton_, &QPushButton::clicked, this, [this] { closeBox(); });
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

void VersionWindow::fillLabels() {
  ctx_.services.host.ProcessEvents();
  ctx_.services.host.ProcessEvents();
  titleLabel_->setText(QString::fromStdString(ctx_.state.catalogue.title));
  versionLabel_->setText(VersionLabelText());
  makerLabel_->setText(QString::fromUtf8(kMaker));
  textLabel_->setText(QString::fromUtf8(kAboutLine));
}

void VersionWindow::closeBox() {
  accept();
}

void ShowVersionBox(AppContext& ctx, QWidget* over, double scale) {
  VersionWindow box(ctx, over, scale);
  if (over != nullptr) {
    const QPoint topLeft((over->width() - box.width()) / 2, (over->height() - box.height()) / 2);
    box.move(over->mapToGlobal(topLeft));
  }
  box.show();
  box.fillLabels();
  box.exec();
}

}  // namespace numora
