#include "ui/common/qt_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace numora {

void QtHost::ProcessEvents() {
  QCoreApplication::processEvents();
}

void QtHost::ShowMessage(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

bool QtHost::AskYesNo(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Question, QString::fromStdString(title),
                  QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                  QApplication::activeWindow());
  box.button(QMessageBox::Yes)->setText("はい");
  box.button(QMessageBox::No)->setText("いいえ");
  return box.exec() == QMessageBox::Yes;
}

bool QtHost::AskOkCancel(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::Question, QString::fromStdString(title),
                  QString::fromStdString(text), QMessageBox::Ok | QMessageBox::Cancel,
                  QApplication::activeWindow());
  box.button(QMessageBox::Ok)->setText("OK");
  box.button(QMessageBox::Cancel)->setText("キャンセル");
  box.setDefaultButton(QMessageBox::Cancel);
  return box.exec() == QMessageBox::Ok;
}

void QtHost::WaitResponsive(double seconds) {
  QEventLoop loop;
  QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
  loop.exec();
}

bool QtHost::StartDetached(const std::string& program, const std::vector<std::string>& args,
                           const std::string& workingFolder) {
  QStringList list;
  for (const auto& a : args) {
    list << QString::fromStdString(a);
  }
  return QProcess::startDetached(QString::fromStdString(program), list,
                                 QString::fromStdString(workingFolder));
}

void QtHost::EndProgram(int status) {
  if (unloadAllWindows) {
    unloadAllWindows();
  }
  std::fflush(nullptr);
  std::_Exit(status);
}

}  // namespace numora
