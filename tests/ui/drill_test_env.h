#pragma once

// A small installation for the drill and evaluation window tests: a temporary data folder for the
// results file, four timed levels with their standards, a pupil, a sound table, a clock that only
// moves when told, and a host whose event processing can run a scripted step (a click or a clock
// tick arriving while a handler lets pending messages be processed).

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/installation/app_state.h"
#include "core/records/results_file.h"
#include "core/records/statistics.h"
#include "support/fakes.h"
#include "ui/common/app_context.h"
#include "ui/drill/drill_window.h"
#include "window_controls.h"

namespace numora::testing {

// Scripted fractions first, then a fixed pseudo-random sequence.
class TestRandom : public Random {
 public:
  void Seed(double seed) override { seeds.push_back(seed); }
  double Next() override {
    if (!script.empty()) {
      const double v = script.front();
      script.pop_front();
      return v;
    }
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0;
  }
  std::deque<double> script;
  std::vector<double> seeds;

 private:
  uint64_t state_ = 2024;
};

// A recording host whose ProcessEvents can run one scripted step (and, when asked, Qt's pending
// events as well). The step returns true when it
// is done (it is then dropped); it never runs inside itself.
class HookHost : public RecordingHost {
 public:
  using RecordingHost::RecordingHost;
  void ProcessEvents() override {
    ++processed;
    if (realEvents) QCoreApplication::processEvents();
    if (!hook || inHook_) return;
    inHook_ = true;
    const bool done = hook();
    inHook_ = false;
    if (done) hook = nullptr;
  }
  std::function<bool()> hook;
  bool realEvents = false;  // also process Qt's pending events, as the program does

 private:
  bool inHook_ = false;
};

struct DrillEnv {
  QTemporaryDir dir;
  FakeClock clock;
  TestRandom random;
  RecordingSound sound;
  HookHost host{&clock};
  Services services{clock, random, sound, host};
  AppState state;
  AppContext ctx{state, services};

  static constexpr int kPupil = 3;

  DrillEnv() {
    state.catalogue.title = "ヌモラ";
    state.catalogue.levelCount = 4;
    state.catalogue.finalLevel = 4;
    for (int l = 1; l <= 4; ++l) {
      state.catalogue.levelNames[static_cast<std::size_t>(l)] = "ﾚﾍﾞﾙ" + std::to_string(l);
      state.catalogue.levelIsTimed[static_cast<std::size_t>(l)] = true;
      LevelStandard& s = state.catalogue.standards[static_cast<std::size_t>(l)];
      s.targetTime = 40;
      s.minimumTime = 60;
      s.clearPoints = 20;
      s.clearCount = 3;
      s.pointMultiplier = 1.0f;
      s.overPracticeCount = 0;
      s.overPracticePoints = 0;
      s.passPeriodDays = 7;
      s.overPracticePeriodDays = 7;
    }
    state.session.currentPupil = kPupil;
    state.session.pupilName = " 山田　花子 ";
    state.roster.names[kPupil] = "山田　花子";
    state.session.pupilStartTime = 9 * 3600 - 300;  // five minutes before the clock's 9:00
    state.session.currentLevel = 1;
    state.installation.schoolName = "ヌモラ市立第一小学校";
    state.installation.schoolCode = "12345";
    state.installation.dataFolder = QDir::toNativeSeparators(dir.path()).toStdString() + "/";
    state.installation.soundFolder = "/snd/";
    const std::pair<std::size_t, std::string> files[] = {
        {2, "ok"}, {4, "ng"}, {8, "self"}, {10, "fail"}};
    for (const auto& [cue, file] : files) {
      state.sound.table[cue][1] = file;
      state.sound.table[cue][21] = std::string(1, '1');
    }
    // As the hub does before a run: the statistics and best times from the (empty) results file.
    RebuildStatistics(state, services);
  }

  ~DrillEnv() {
    for (QWidget* w : {ctx.evaluation.data(), ctx.drill.data(), ctx.hub.data(), ctx.basefrm.data(),
                       ctx.namesel.data()}) {
      delete w;
    }
    FlushDeletes();
  }

  static void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  int Played(const std::string& path) const {
    return static_cast<int>(std::count(sound.played.begin(), sound.played.end(), path));
  }

  std::vector<ResultRecord> Records() {
    std::vector<ResultRecord> records;
    std::string error;
    ReadAllResultRecords(state.installation, services, records, error);
    return records;
  }
};

// A left click in the middle of a widget, as a pupil's mouse gives it.
inline void Press(QWidget* w) {
  QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

// Clicks every divisor tile of the drill's current target, then "判定".
inline void AnswerRightByMouse(DrillWindow* w) {
  const int target = w->targetNumber();
  for (int n = 1; n <= 100; ++n) {
    if (target % n == 0) {
      Press(Label1(w, static_cast<std::size_t>(n)));
    }
  }
  Press(Command1(w));
}

}  // namespace numora::testing
