#include "VXInstallThread.h"

#include <windows.h>

#include <vector>

CVXInstallThread::CVXInstallThread(UnzipFunction unzip) : m_unzip(unzip) { Start(); }

// Stop before our own members go: the worker may be inside OnJob.
CVXInstallThread::~CVXInstallThread() { Stop(); }

void CVXInstallThread::OnJob(NINSTALL_INFO job)
{
    std::string dest = WideToAnsi(job.destDir);
    std::string archive = WideToAnsi(job.srcArchive);
    if (m_unzip == nullptr) return;
    // The result is not used: a failed extraction shows as a progress page that never completes.
    (void)m_unzip(archive.c_str(), dest.c_str(), job.onProgress);
}

std::string WideToAnsi(const wchar_t* text)
{
    if (text == nullptr) return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::vector<char> buffer(size_t(n) + 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer.data(), n, nullptr, nullptr);
    return std::string(buffer.data());
}
