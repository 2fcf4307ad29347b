#pragma once
// Whole-file reading and writing for the packaging tool, with messages that
// name the file and the system's reason.
#include <cstdint>
#include <string>
#include <vector>

#include "common/text.h"

using ByteBuffer = std::vector<uint8_t>;

bool readWholeFile(const String& path, ByteBuffer& bytes, std::string& error);
bool writeWholeFile(const String& path, const ByteBuffer& bytes, std::string& error);
// Adds the bytes at the end of an existing file.
bool appendToFile(const String& path, const ByteBuffer& bytes, std::string& error);

// The text as it is, on standard output or standard error.
void printOut(const std::string& text);
void printError(const std::string& text);

// The system's text for an error code, with the code.
std::string systemMessage(uint32_t code);

// An INI's text as the launcher reads it: UTF-16 and UTF-8 files by their
// byte-order mark, others in the ANSI code page.
String decodeIniText(const ByteBuffer& bytes);
