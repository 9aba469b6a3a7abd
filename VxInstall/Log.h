// The support log "ll.log": one time-stamped line per call, appended in code page 936.
#pragma once

#include "core/UIString.h"

#include <string>

using Lomar::CUIString;

void WriteLog(const CUIString& message);
CUIString GetLogFilePath();

// One line as stored in the file: "[%Y-%m-%d %X] - message\r\n" in code page 936.
std::string FormatLogLine(const wchar_t* stamp, const wchar_t* message);
