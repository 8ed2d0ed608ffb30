#include "platform/services.h"
#include "tests/fakes/fakes.h"

namespace {

fakes::Services::Thread* Find(services::ThreadHandle thread) {
  auto& threads = fakes::FakeServices().threads;
  return thread >= 1 && thread <= threads.size() ? &threads[thread - 1] : nullptr;
}

}  // namespace

namespace services {

ThreadHandle StartBackgroundThread(void (*body)()) {
  fakes::Services& fake = fakes::FakeServices();
  if (!fake.threads_start) return 0;
  fake.threads.push_back({body, true, false});
  const ThreadHandle thread = fake.threads.size();
  if (fake.threads_run_at_once) fakes::RunThread(thread);
  return thread;
}

bool ThreadRunning(ThreadHandle thread) {
  const auto* found = Find(thread);
  return found && found->running;
}

bool WaitForThread(ThreadHandle thread, int timeout_ms) {
  fakes::FakeServices().thread_waits.push_back(timeout_ms);
  return !ThreadRunning(thread);
}

void ReleaseThread(ThreadHandle thread) {
  if (auto* found = Find(thread)) found->released = true;
}

}  // namespace services

namespace fakes {

void RunThread(services::ThreadHandle thread) {
  auto* found = Find(thread);
  if (!found || !found->running) return;
  found->body();
  // The body may have started threads of its own; look the thread up again.
  Find(thread)->running = false;
}

}  // namespace fakes
