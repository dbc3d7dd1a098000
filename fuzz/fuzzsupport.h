#pragma once

#include "clock.h"
#include "studystate.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

// What every fuzz target shares: one scratch folder per process, the input written there as
// the file the program reads, a fresh study state over that folder, and the Qt GUI objects
// for the targets that draw.
namespace fuzz {

// A private folder for this process's files, created on first use and removed at exit.
const QString& scratchFolder();

// Writes the input as `fileName` in the scratch folder and returns its full path.
QString writeInput(const QString& fileName, const uint8_t* data, std::size_t size);
// Writes fixed bytes as `fileName` in the scratch folder.
void writeFixed(const QString& fileName, const QByteArray& bytes);
// Removes `fileName` from the scratch folder when it is there.
void removeFile(const QString& fileName);

// A fresh study state over the scratch folder, its clock fixed.
std::unique_ptr<moji::StudyState> makeState();
const moji::Clock& fixedClock();

// Gives every kanji of the year (241 to 440) a two-byte glyph, as a loaded dictionary does.
void fillKanjiTable(moji::StudyState& state);

// Creates the GUI application with the offscreen platform, once per process.
void ensureGuiApplication();

// Stops the run with a report, so the fuzzer keeps the input, when an expectation fails.
[[noreturn]] void fail(const char* what, const char* file, int line);

} // namespace fuzz

#define FUZZ_CHECK(condition) ((condition) ? void() : ::fuzz::fail(#condition, __FILE__, __LINE__))
