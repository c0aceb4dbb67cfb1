#pragma once
#include <functional>

namespace platform {
bool isMainThread();
// Runs fn on the main (GUI) thread and waits for it to finish. Called on the
// main thread it runs fn directly, so a request never waits on itself. The
// main thread must be running an event loop for a worker's call to proceed.
void runOnMainThread(const std::function<void()>& fn);
// Queues fn on the main thread and returns at once.
void postToMainThread(std::function<void()> fn);
}
