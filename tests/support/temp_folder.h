// A fresh, empty folder per test for the tests that touch real files, natively and under
// Wine alike, plus the small file helpers those tests share.
#pragma once

#include <string>
#include <vector>

// Creates a new empty folder and returns its path (no trailing separator). The folder and
// everything in it are removed when the current test ends.
std::string MakeTempFolder();

// Joins a folder and a name with the platform's separator.
std::string PathIn(const std::string& folder, const char* name);

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// The file's bytes; false when it cannot be opened.
bool ReadBytes(const std::string& path, std::vector<unsigned char>* bytes);

bool Exists(const std::string& path);

bool MakeFolder(const std::string& path);
