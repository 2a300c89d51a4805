#pragma once
// Running a cpp-httplib server on loopback inside a Qt process: the simulator and the tests'
// recording server share these, with the fixes each of them needed.
#include <cstddef>
#include <thread>

namespace httplib {
class Server;
}

namespace LoopbackHttp {

// A worker per idle keep-alive connection (Qt keeps several per host) and no Nagle delay
// between headers and body.
void configure(httplib::Server &server, std::size_t workerThreads);

// Runs the accept loop of a bound server on a thread of its own, with SIGPIPE blocked so a
// client that goes away mid-answer costs a failed write, not the process. Waits until the
// loop runs (stop() is ignored before); false when it did not start within 10 s.
bool serveInThread(httplib::Server &server, std::thread &thread);

// Stops the server and joins its thread. The accepted connections on `port` are shut down
// first: cpp-httplib only looks at its stop flag between requests, so a worker on an idle
// keep-alive connection would otherwise hold the stop up for the whole keep-alive timeout.
void stopAndJoin(httplib::Server &server, std::thread &thread, int port);

} // namespace LoopbackHttp
