// The extraction worker: each job unpacks a 7z archive into a folder through the library.
#pragma once

#include "VXThread.h"
#include "core/UIString.h"

#include <cstdint>
#include <functional>
#include <string>

using Lomar::CUIString;

using ProgressCallback = std::function<void(uint64_t done, uint64_t total)>;

// The library's entry point, or a stand-in for it (tests hand in their own).
using UnzipFunction = bool (*)(const char* archive, const char* destDir, ProgressCallback onProgress);

struct NINSTALL_INFO
{
    CUIString srcArchive;  // the installer's folder + "\vx.7z"
    CUIString destDir;     // the install folder
    ProgressCallback onProgress;
};

class CVXInstallThread : public CVXThread<NINSTALL_INFO>
{
public:
    explicit CVXInstallThread(UnzipFunction unzip);
    ~CVXInstallThread() override;

protected:
    void OnJob(NINSTALL_INFO job) override;

private:
    UnzipFunction m_unzip;
};

// The text in the system's ANSI code page; unrepresentable characters become its default character.
std::string WideToAnsi(const wchar_t* text);
