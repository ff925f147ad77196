#pragma once

// Shared pieces of the fuzz targets: each target feeds libFuzzer's bytes to one file reader and
// stops the run (so libFuzzer keeps the input) when the reader breaks one of its promises.

#include <QString>
#include <cstddef>
#include <cstdint>

class CatalogError;

// Writes the input to a file of the given name in a directory made once per run (under /dev/shm
// when there is one, so the files stay in memory) and returns its path.
QString WriteFuzzInput(const QString& fileName, const std::uint8_t* data, std::size_t size);

// Prints what went wrong and aborts.
[[noreturn]] void FuzzFail(const char* what, const QString& detail = QString());

inline void FuzzCheck(bool ok, const char* what, const QString& detail = QString()) {
    if (!ok) FuzzFail(what, detail);
}

// A catalogue failure must be worded for the user: a message that names the file and the line.
void CheckCatalogError(const CatalogError& error, const QString& path);
