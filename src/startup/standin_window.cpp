// Stand-in definitions of the window functions whose windows are still to come. Each window's own
// file takes over its function; the definition here is then removed.

#include <QLabel>
#include <QVBoxLayout>

#include "startup/app_context_qt.h"

namespace numora {

namespace {

void ShowStandIn(AppContext& ctx, const QString& what) {
  if (ctx.standIn) ctx.standIn->deleteLater();
  auto* w = new QWidget;
  w->setAttribute(Qt::WA_DeleteOnClose);
  w->setWindowTitle(QString::fromStdString(ctx.state.programTitle));
  auto* layout = new QVBoxLayout(w);
  auto* label = new QLabel(QStringLiteral("%1\n（準備中）").arg(what), w);
  label->setAlignment(Qt::AlignCenter);
  QFont f = label->font();
  f.setPixelSize(32);
  label->setFont(f);
  layout->addWidget(label);
  w->resize(1024, 768);
  w->show();
  ctx.standIn = w;
}

}  // namespace

void ShowNameSelection(AppContext& ctx) {
  ShowStandIn(ctx, QStringLiteral("名前選択画面"));
}
void UnloadNameSelection(AppContext& ctx) {
  if (ctx.namesel) ctx.namesel->deleteLater();
}

}  // namespace numora
