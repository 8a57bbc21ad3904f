#pragma once

#include <string>

#include "core/installation/app_state.h"
#include "core/platform/paths.h"

namespace numora {

// The start-up's path and settings set-up for an executable in programFolder (ending with the
// native separator): folders, common settings, program identity, level standards and sound table,
// in the program's order. False with a Japanese error text (naming the file and its full path) when
// a start-up file is missing, unreadable or too short (a standards file that ends inside a level's
// twelve fields is too short). What was set up but deserves a word to the user goes to notice when
// given (empty when all is well): levels of the catalogue without a standards line or without a
// positive target or minimum time, and level lines past the 35th, which are not loaded. The
// program and numora-data both use it.
bool SetUpPathsAndSettings(AppState& state, const std::string& programFolder, std::string& error,
                           std::string* notice = nullptr);

// True when a path names one of the installation's own files or folders, so that nothing written
// for the user may go there: the program, data root, data and sound folders; the path, settings,
// roster, sound table, standards and results files and the results file's temporary copies; the
// sound files; and any file already lying in the program, data or sound folder. Links and other
// spellings of the same place count (paths are compared resolved, existing files by identity).
bool IsInstallationPath(const InstallationSettings& installation, const SoundTable& sound,
                        const std::string& utf8Path);

// Sets the catalogue's title.
void InitialiseIdentity(LevelCatalogue& catalogue);

// The level catalogue, set at every name confirmation: four timed levels named ﾚﾍﾞﾙ1 … ﾚﾍﾞﾙ4.
inline constexpr int kCatalogueLevels = 4;
void SetUpCatalogue(LevelCatalogue& catalogue);

// True when an executable folder path (with or without the closing separator) is the development
// layout: it contains "KT0042" and not "ZELANTO", letter case ignored.
bool DevelopmentLayoutFor(const std::string& folderPath);

// The school line of the common settings file split into school code and name: when the numeric
// value of its first five characters is not 0 they are the code and the rest is the name;
// otherwise the whole line is the name and the code is empty.
void SplitSchoolLine(const std::string& line, std::string& schoolCode, std::string& schoolName);

// The native folder separator that ends every folder value.
inline constexpr char kFolderSeparator = kNativePathStyle == PathStyle::Windows ? '\\' : '/';

}  // namespace numora
