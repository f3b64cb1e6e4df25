// Opening files the programs only read (settings store, pictures, fonts, catalogues,
// tiles) without ever waiting on them: a FIFO, device or directory planted at the path
// is refused at once, so it can stall neither the start nor the run loop.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

constexpr int ReadFileCannotOpen = -1;  // errno from open() kept
constexpr int ReadFileNotRegular = -2;  // a special file: said on the console
constexpr int ReadFileReadError = -3;   // errno from read() kept
constexpr int ReadFileTooLarge = -4;

// A descriptor of the regular file at path, in blocking mode, or ReadFileCannotOpen or
// ReadFileNotRegular. What a special file is goes to *refusal when given (a caller that
// says it once), else to the console.
int OpenForReading(const char* path, std::string* refusal = nullptr);
// The same as a stdio stream (binary); null with *result (when given) the code.
FILE* OpenStreamForReading(const char* path, int* result = nullptr, std::string* refusal = nullptr);
// The whole regular file into data, when it holds at most `limit` bytes: 0 or a code above.
int ReadRegularFile(const char* path, size_t limit, std::string& data, std::string* refusal = nullptr);
