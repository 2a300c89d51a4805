#include "loopbackhttp.h"

#include <httplib.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#endif
#ifdef __linux__
#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

namespace {

#ifdef __linux__
void cutConnections(int port)
{
    std::vector<int> fds;
    if (DIR *dir = opendir("/proc/self/fd")) {
        const int dirFd = dirfd(dir);
        while (const dirent *entry = readdir(dir)) {
            char *end = nullptr;
            const long fd = std::strtol(entry->d_name, &end, 10);
            if (end != entry->d_name && *end == '\0' && fd != dirFd)
                fds.push_back(int(fd));
        }
        closedir(dir);
    }
    for (const int fd : fds) {
        sockaddr_in local{};
        socklen_t len = sizeof local;
        if (getsockname(fd, reinterpret_cast<sockaddr *>(&local), &len) != 0 || local.sin_family != AF_INET
            || ntohs(local.sin_port) != port)
            continue;
        sockaddr_in peer{};
        len = sizeof peer;
        if (getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &len) != 0)
            continue;  // the listening socket
        ::shutdown(fd, SHUT_RDWR);
    }
}
#endif

} // namespace

namespace LoopbackHttp {

void configure(httplib::Server &server, std::size_t workerThreads)
{
    server.new_task_queue = [workerThreads] { return new httplib::ThreadPool(workerThreads); };
    server.set_tcp_nodelay(true);
}

bool serveInThread(httplib::Server &server, std::thread &thread)
{
    httplib::Server *svr = &server;
    thread = std::thread([svr] {
#ifndef _WIN32
        // cpp-httplib sends without MSG_NOSIGNAL; the workers inherit this mask.
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
#endif
        svr->listen_after_bind();
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!server.is_running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return server.is_running();
}

void stopAndJoin(httplib::Server &server, std::thread &thread, int port)
{
    server.stop();
#ifdef __linux__
    cutConnections(port);
#else
    (void)port;
#endif
    if (thread.joinable())
        thread.join();
}

} // namespace LoopbackHttp
