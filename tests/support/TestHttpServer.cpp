// Winsock is not among the test executables' link libraries, so its few
// entry points are looked up at run time.
#include <winsock2.h>

#include "support/TestHttpServer.h"

#include <algorithm>

namespace VarnelTest {

namespace {

class CWinsock
{
public:
    CWinsock()
    {
        m_hModule = ::LoadLibraryW(L"ws2_32.dll");
        if (m_hModule == nullptr) return;
        startup = Proc<decltype(startup)>("WSAStartup");
        socket = Proc<decltype(socket)>("socket");
        bind = Proc<decltype(bind)>("bind");
        listen = Proc<decltype(listen)>("listen");
        getsockname = Proc<decltype(getsockname)>("getsockname");
        accept = Proc<decltype(accept)>("accept");
        recv = Proc<decltype(recv)>("recv");
        send = Proc<decltype(send)>("send");
        shutdown = Proc<decltype(shutdown)>("shutdown");
        closesocket = Proc<decltype(closesocket)>("closesocket");
        WSADATA data;
        m_bReady = startup != nullptr && socket != nullptr && bind != nullptr && listen != nullptr &&
                   getsockname != nullptr && accept != nullptr && recv != nullptr && send != nullptr &&
                   shutdown != nullptr && closesocket != nullptr && startup(MAKEWORD(2, 2), &data) == 0;
    }

    bool IsReady() const { return m_bReady; }

    int(WSAAPI* startup)(WORD, LPWSADATA) = nullptr;
    SOCKET(WSAAPI* socket)(int, int, int) = nullptr;
    int(WSAAPI* bind)(SOCKET, const sockaddr*, int) = nullptr;
    int(WSAAPI* listen)(SOCKET, int) = nullptr;
    int(WSAAPI* getsockname)(SOCKET, sockaddr*, int*) = nullptr;
    SOCKET(WSAAPI* accept)(SOCKET, sockaddr*, int*) = nullptr;
    int(WSAAPI* recv)(SOCKET, char*, int, int) = nullptr;
    int(WSAAPI* send)(SOCKET, const char*, int, int) = nullptr;
    int(WSAAPI* shutdown)(SOCKET, int) = nullptr;
    int(WSAAPI* closesocket)(SOCKET) = nullptr;

private:
    template <class F>
    F Proc(const char* name) const
    {
        union
        {
            FARPROC proc;
            F function;
        } entry;
        entry.proc = ::GetProcAddress(m_hModule, name);
        return entry.function;
    }

    HMODULE m_hModule = nullptr;
    bool m_bReady = false;
};

// Network byte order on the little-endian machines this runs on, without
// winsock's own converters (they are library functions too).
constexpr unsigned short SwapBytes(unsigned short value)
{
    return static_cast<unsigned short>((value >> 8) | (value << 8));
}
constexpr ULONG kLoopbackAddress = 0x0100007F; // 127.0.0.1

// Loaded once for the process and never unloaded: server threads may still
// be closing sockets while the process ends.
CWinsock& Winsock()
{
    static CWinsock winsock;
    return winsock;
}

} // namespace

CTestHttpServer::CTestHttpServer(std::string html) : m_html(std::move(html)), m_listener(INVALID_SOCKET)
{
    CWinsock& ws = Winsock();
    if (!ws.IsReady()) return;
    const SOCKET listener = ws.socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) return;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = kLoopbackAddress;
    address.sin_port = 0;
    int length = sizeof(address);
    if (ws.bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ws.listen(listener, 8) != 0 || ws.getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ws.closesocket(listener);
        return;
    }
    m_listener = listener;
    m_port = SwapBytes(address.sin_port);
    m_hThread = ::CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
}

CTestHttpServer::~CTestHttpServer()
{
    if (m_listener != INVALID_SOCKET) Winsock().closesocket(m_listener); // ends the accept loop
    if (m_hThread != nullptr) {
        ::WaitForSingleObject(m_hThread, 10000);
        ::CloseHandle(m_hThread);
    }
}

DWORD WINAPI CTestHttpServer::ThreadProc(LPVOID pParam)
{
    static_cast<CTestHttpServer*>(pParam)->Serve();
    return 0;
}

void CTestHttpServer::Serve()
{
    CWinsock& ws = Winsock();
    for (;;) {
        const SOCKET client = ws.accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) return;
        // One request per connection; the head ends with an empty line.
        std::string request;
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            const int got = ws.recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0) break;
            request.append(buffer, static_cast<size_t>(got));
        }
        const size_t start = request.find(' ');
        const size_t end = start == std::string::npos ? std::string::npos : request.find(' ', start + 1);
        if (end != std::string::npos) {
            const std::lock_guard<std::mutex> guard(m_lock);
            m_paths.push_back(request.substr(start + 1, end - start - 1));
        }
        const std::string response = "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                                     std::to_string(m_html.size()) + "\r\nConnection: close\r\n\r\n" + m_html;
        ws.send(client, response.data(), static_cast<int>(response.size()), 0);
        ws.shutdown(client, SD_SEND);
        ws.closesocket(client);
    }
}

std::vector<std::string> CTestHttpServer::Paths() const
{
    const std::lock_guard<std::mutex> guard(m_lock);
    return m_paths;
}

bool CTestHttpServer::WaitForPath(const std::string& path, DWORD timeoutMs) const
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        const auto paths = Paths();
        if (std::find(paths.begin(), paths.end(), path) != paths.end()) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(20);
    }
}

} // namespace VarnelTest
