#include "ui/startup/splash_window.h"

#include <QPainter>
#include <QPainterPath>

#include "core/installation/app_state.h"
#include "core/installation/installation.h"
#include "core/installation/season.h"
#include "core/platform/dates.h"

namespace numora {

SplashPicture::SplashPicture(QWidget* parent) : QWidget(parent) {
  setObjectName("Picture1");
  setAccessibleName(QStringLiteral("ヌモラ"));
}

void SplashPicture::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = rect();
  const double unit = r.height() / 100.0;

  // A white card with a soft border.
  p.setPen(QPen(QColor(60, 90, 160), unit * 0.8));
  p.setBrush(Qt::white);
  p.drawRoundedRect(r.adjusted(unit, unit, -unit, -unit), unit * 6, unit * 6);

  // A row of number tiles: the divisors of 12 highlighted, as on the drill's board.
  const int tiles = 12;
  const double tileW = (r.width() - unit * 16) / tiles;
  const double tileTop = r.height() * 0.66;
  QFont tileFont = font();
  tileFont.setPixelSize(static_cast<int>(tileW * 0.42));
  tileFont.setBold(true);
  p.setFont(tileFont);
  for (int i = 0; i < tiles; ++i) {
    const int number = i + 1;
    const bool divisor = 12 % number == 0;
    const QRectF tile(unit * 8 + i * tileW + tileW * 0.06, tileTop, tileW * 0.88, tileW * 0.88);
    p.setPen(QPen(QColor(80, 80, 80), unit * 0.3));
    p.setBrush(divisor ? QColor(255, 200, 80) : QColor(230, 236, 246));
    p.drawRoundedRect(tile, tileW * 0.12, tileW * 0.12);
    p.setPen(QColor(40, 40, 40));
    p.drawText(tile, Qt::AlignCenter, QString::number(number));
  }

  // The title.
  QFont title = font();
  title.setPixelSize(static_cast<int>(r.height() * 0.34));
  title.setBold(true);
  p.setFont(title);
  const QRectF titleRect(0, r.height() * 0.08, r.width(), r.height() * 0.52);
  p.setPen(QColor(200, 210, 230));
  p.drawText(titleRect.translated(unit * 0.8, unit * 0.8), Qt::AlignCenter,
             QStringLiteral("ヌモラ"));
  p.setPen(QColor(30, 70, 160));
  p.drawText(titleRect, Qt::AlignCenter, QStringLiteral("ヌモラ"));
}

SplashWindow::SplashWindow(AppContext& ctx) : ctx_(ctx) {
  setObjectName("Firstfrm");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("ヌモラ"));

  picture_ = new SplashPicture(this);
  place(picture_, 2880, 1440, 9600, 5400);

  waitLabel_ = new QLabel(QStringLiteral("Just a moment, please."), this);
  waitLabel_->setObjectName("Label1");
  waitLabel_->setAlignment(Qt::AlignCenter);
  place(waitLabel_, 2880, 7320, 9600, 900);
  setFontPoints(waitLabel_, 24, true);

  dateLabel_ = new QLabel(this);
  dateLabel_->setObjectName("Label5");
  dateLabel_->setAlignment(Qt::AlignCenter);
  place(dateLabel_, 2880, 8520, 9600, 900);
  setFontPoints(dateLabel_, 22, true);

  setUpTimer_ = new QTimer(this);
  setUpTimer_->setObjectName("Timer1");
  setUpTimer_->setInterval(100);
  setUpTimer_->setSingleShot(true);
  connect(setUpTimer_, &QTimer::timeout, this, &SplashWindow::runSetUp);
}

void SplashWindow::begin() {
  Services& services = ctx_.services;
  AppState& state = ctx_.state;
  showOnWholeScreen();
  services.host.ProcessEvents();
  services.random.Seed(services.clock.Timer());
  const double now = services.clock.Now();
  dateLabel_->setText(QString::fromStdString(FormatEraDate(now)));
  SetSeasonColour(state.installation, now);
  setBackColour(state.installation.seasonColour);
  showOnWholeScreen();
  services.host.ProcessEvents();
  state.installation.developmentLayout = DevelopmentLayoutFor(state.installation.programFolder);
  setUpTimer_->start();
}

void SplashWindow::runSetUp() {
  setUpTimer_->stop();
  std::string error;
  std::string notice;
  if (!SetUpPathsAndSettings(ctx_.state, ctx_.state.installation.programFolder, error, &notice)) {
    ctx_.services.host.ShowMessage("注意", error);
    ctx_.services.host.EndProgram(1);
    return;
  }
  if (!notice.empty()) {
    ctx_.services.host.ShowMessage("注意", notice);
  }
  ShowNameSelection(ctx_);
  close();
}

SplashWindow* ShowSplash(AppContext& ctx) {
  auto* splash = new SplashWindow(ctx);
  ctx.firstfrm = splash;
  splash->begin();
  return splash;
}

}  // namespace numora
