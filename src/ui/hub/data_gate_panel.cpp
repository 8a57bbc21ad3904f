#include "ui/hub/data_gate_panel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/admin/data_gate.h"
#include "core/admin/standards_editor.h"
#include "ui/common/form_widget.h"

namespace numora {

namespace {

constexpr unsigned kGateGreen = 0x00C000;
constexpr unsigned kWhite = 0xFFFFFF;

}  // namespace

DataGatePanel::DataGatePanel(FormWidget& form, AppContext& ctx) : QFrame(&form), ctx_(ctx) {
  setObjectName(QStringLiteral("Picture7"));
  SetBackColour(this, kGateGreen);
  setFrameShape(QFrame::Box);

  passwordLabel_ = new QLabel(QStringLiteral("データ変更パスワード"), this);
  passwordLabel_->setObjectName(QStringLiteral("Label28"));
  form.place(passwordLabel_, 500, 400, 6000, 450);
  form.setFontPoints(passwordLabel_, 14, true);
  SetForeColour(passwordLabel_, kWhite);

  passwordEntry_ = new QLineEdit(this);
  passwordEntry_->setObjectName(QStringLiteral("Text3"));
  passwordEntry_->setEchoMode(QLineEdit::Password);
  // Every typed character shows as "*".
  passwordEntry_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  passwordEntry_->setAccessibleName(QStringLiteral("データ変更パスワード"));
  form.place(passwordEntry_, 500, 950, 6000, 500);
  form.setFontPoints(passwordEntry_, 14);

  auto button = [&](const char* name, const QString& text, int left, int top, int width) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QLatin1String(name));
    form.place(b, left, top, width, 700);
    form.setFontPoints(b, 12, true);
    return b;
  };
  browserButton_ = button("Command10(0)", QStringLiteral("データ変更"), 500, 1750, 2900);
  editorButton_ = button("Command10(1)", QStringLiteral("合格タイムデータ変更"), 3600, 1750, 2900);
  backButton_ = button("Command12", QStringLiteral("戻る"), 2300, 2650, 2400);
  connect(browserButton_, &QPushButton::clicked, this, [this] { openChosenWindow(0); });
  connect(editorButton_, &QPushButton::clicked, this, [this] { openChosenWindow(1); });
  connect(backButton_, &QPushButton::clicked, this, [this] { closePanel(); });
  setVisible(false);
}

void DataGatePanel::open() {
  setVisible(true);
  raise();
  passwordEntry_->setFocus();
}

void DataGatePanel::closePanel() {
  setVisible(false);
}

void DataGatePanel::openChosenWindow(int choice) {
  Services& services = ctx_.services;
  if (!DataChangePasswordMatches(ctx_.state.installation.dataChangePassword,
                                 passwordEntry_->text().toStdString())) {
    services.host.ShowMessage(kNoticeTitle, kWrongPasswordMessage);
    return;
  }
  if (choice == 0) {
    ShowResultsBrowser(ctx_);
  } else {
    ShowStandardsEditor(ctx_);
  }
  emit windowOpened();
}

}  // namespace numora
