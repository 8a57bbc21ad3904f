#pragma once

#include <string>

namespace numora {

// A complete demonstration installation under one folder:
//   DIR/apps/パスデータ.txt            path file naming DIR/data/
//   DIR/apps/numora/numora             the program
//   DIR/data/共通データ.txt, 新名簿.txt  common settings and a made-up roster
//   DIR/data/音フォルダ/                 sound table and synthesised sounds
//   DIR/data/numora/タイム回数データ.txt  standards of the four levels
// Every text file is CP932 with CR LF.

// True when dir already holds an installation (its path file or data root exists).
bool HoldsInstallation(const std::string& dir);

// Writes the installation's files and copies the program executable into its program folder.
// today (a date) fixes the school year that the roster's birth years are counted from. On success
// programFolder is the new program folder (ending with the separator).
bool CreateDemoInstallation(const std::string& dir, const std::string& programExecutable,
                            double today, std::string& programFolder, std::string& error);

// Replaces only the program executable of an existing installation.
bool RefreshDemoProgram(const std::string& dir, const std::string& programExecutable,
                        std::string& programFolder, std::string& error);

}  // namespace numora
