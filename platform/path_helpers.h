// Splitting and joining Windows paths held as ANSI text.
#pragma once

// Every path and folder text lives in a buffer of this many bytes, terminator included.
constexpr int kPathCapacity = 260;

// Component capacities of SplitPath's outputs, terminators included.
constexpr int kDriveCapacity = 3;
constexpr int kComponentCapacity = 256;

// Takes a path apart into drive, folder, file name and extension; any output may be null.
void SplitPath(const char* path, char* drive, char* folder, char* fileName, char* extension);

// Whether SplitPath would give every component of path whole, none cut to its room.
bool PathComponentsFit(const char* path);

// Whether text ends in a backslash of its own, not the second byte of a two-byte character.
bool EndsInBackslash(const char* text);

// Joins components (any may be null or empty) into out, which holds kPathCapacity bytes.
// Returns false and leaves out empty when the result would not fit.
bool MakePath(char* out, const char* drive, const char* folder, const char* fileName, const char* extension);

// out := folder, a backslash unless it already ends in one, and the file name and extension
// of name. Returns false and leaves out empty when the joined path would not fit kPathCapacity.
bool MakeFilePath(char* out, const char* folder, const char* name);
