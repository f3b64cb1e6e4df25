// A message catalogue is checked before it is bound: the C library reads a bound
// catalogue's tables without bounds, so a damaged one would crash every lookup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int CatalogueOk = 0;
constexpr int CatalogueMissing = 1;        // nothing to bind: the texts stay untranslated
constexpr int CatalogueUnreadable = -1;    // a special file, unreadable or far too large
constexpr int CatalogueDamaged = -2;

// Checks the catalogue bytes: magic in either byte order, revision, the header, the
// two string tables and the hash table inside the data, every string ending inside
// it, every hash entry naming a string, and a hash size that lets every lookup end.
// 0, or CatalogueDamaged with the fault in *why.
int CheckCatalogueData(const uint8_t* data, size_t size, std::string* why);
// The file at path: CatalogueOk, CatalogueMissing, or a failure with its reason.
int CheckCatalogueFile(const char* path, std::string* why);

// True when the catalogue that the C library will read for the language (its first two
// letters) under dir may be bound: sound or absent. A damaged one is named in one
// console line.
bool CatalogueUsable(const char* dir, const char* locale, const char* domain);
