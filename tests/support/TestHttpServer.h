#pragma once
// A minimal HTTP server on 127.0.0.1 for end-to-end tests: answers every GET
// with one fixed HTML page and records the request paths.

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

namespace VarnelTest {

class CTestHttpServer
{
public:
    // Listens on a free port and serves `html` until destroyed.
    explicit CTestHttpServer(std::string html);
    ~CTestHttpServer();
    CTestHttpServer(const CTestHttpServer&) = delete;
    CTestHttpServer& operator=(const CTestHttpServer&) = delete;

    // 0 when the server could not start.
    unsigned short Port() const { return m_port; }
    // Request targets in arrival order, e.g. "/play?client=pc".
    std::vector<std::string> Paths() const;
    bool WaitForPath(const std::string& path, DWORD timeoutMs) const;

private:
    static DWORD WINAPI ThreadProc(LPVOID pParam);
    void Serve();

    std::string m_html;
    unsigned short m_port = 0;
    UINT_PTR m_listener;
    HANDLE m_hThread = nullptr;
    mutable std::mutex m_lock;
    std::vector<std::string> m_paths;
};

} // namespace VarnelTest
