#pragma once

// What the hub's window tests share: five listed pupils, runs stored at set moments, the hub
// shown, a list's lines, and pictures of a window for looking at.

#include <QDir>
#include <QList>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <QtTest>
#include <fstream>
#include <string>

#include "core/platform/cp932.h"
#include "core/roster/roster.h"
#include "ui/drill_test_env.h"
#include "ui/hub/hub_window.h"

namespace numora::testing {

inline constexpr int kHubSchoolYear = 2026;
inline constexpr const char* kHubPupilNames[] = {"青木　一郎", "伊藤　二葉", "山田　花子",
                                                 "江口　四郎", "大野　五月"};

enum class RosterFile { kNone, kWritten };

// Listed pupils 1..5 of grades 1..5 (the pupil at the hub is DrillEnv::kPupil = 3) in the
// roster tables; with kWritten also as the roster file, for the chart's roster list.
inline void AddRoster(DrillEnv& env, RosterFile written) {
  env.state.roster.schoolYear = kHubSchoolYear;
  env.state.roster.count = 5;
  std::string file;
  for (int p = 1; p <= 5; ++p) {
    const int birthYear = kHubSchoolYear - 6 - p;
    env.state.roster.names[static_cast<size_t>(p)] = RosterText(kHubPupilNames[p - 1]);
    env.state.roster.birthYears[static_cast<size_t>(p)] = static_cast<int16_t>(birthYear);
    env.state.roster.order[static_cast<size_t>(p)] = static_cast<int16_t>(p);
    file += std::to_string(p) + "," + std::to_string(birthYear) + ",0,0,\"" +
            kHubPupilNames[p - 1] + "\",0,\"\",\"\"\r\n";
  }
  if (written == RosterFile::kWritten) {
    env.state.installation.schoolYearStartMonth = 4;
    env.state.installation.dataRootFolder = env.state.installation.dataFolder;
    std::ofstream(env.state.installation.dataFolder + kRosterFileName, std::ios::binary)
        << Utf8ToCp932(file);
  }
}

// Runs of a pupil on a level stored on 2026-12-<day>, a minute apart from 08:01.
inline void Runs(DrillEnv& env, int pupil, int level, int day, const QList<int>& seconds) {
  env.clock.Set(2026, 12, day, 8, 0, 0);
  for (int s : seconds) {
    env.clock.Advance(60.0);
    QVERIFY(AppendRunRecord(env.state.installation, env.services, static_cast<int16_t>(pupil),
                            static_cast<int16_t>(level), s));
  }
}

inline HubWindow* Show(DrillEnv& env) {
  ShowHub(env.ctx);
  return qobject_cast<HubWindow*>(env.ctx.hub.data());
}

inline QStringList Shown(const QListWidget* list) {
  QStringList lines;
  for (int k = 0; k < list->count(); ++k) {
    lines << list->item(k)->text();
  }
  return lines;
}

// Saves a picture of the widget in NUMORA_SCREENSHOT_DIR, when that is set.
inline void Snap(QWidget* w, const QString& name) {
  const QString dir = qEnvironmentVariable("NUMORA_SCREENSHOT_DIR");
  if (dir.isEmpty() || w == nullptr) {
    return;
  }
  QDir().mkpath(dir);
  w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace numora::testing
