#include "tools/win_shared/element_reading.h"

#include <cstdio>

#include <oleacc.h>

#include <memory>

namespace win_shared {
namespace {

// What the reading thread and the waiting thread share. Owned by both: the waiting thread may
// give up and leave, the reading thread then finishing (or hanging) alone.
struct Job {
  HWND window = nullptr;
  ObjectSource source = ObjectSource::OwnObjectOnly;
  long action_child = -1;  // >= 0: perform this child's default action instead of reading
  bool hit_test = false;  // ask for the child at `at` instead of reading
  POINT at = {};
  long hit = -1;
  std::size_t names_from_end = 0;  // > 0: read only the names of that many last children
  std::vector<std::string> names;
  bool check_after_close = false;
  std::string after_close;  // the answer of the object once its window is gone
  volatile LONG progress = 0;  // bumped after every call that came back
  std::string step;            // the call under way, for the message
  ElementReading result;
};

std::string hex_result(HRESULT result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(result));
  return text;
}

std::string ansi(BSTR text) {
  if (!text) return "";
  const int length = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(SysStringLen(text)), nullptr, 0, nullptr,
                                         nullptr);
  std::string out(static_cast<std::size_t>(length), '\0');
  if (length > 0)
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(SysStringLen(text)), &out[0], length, nullptr, nullptr);
  return out;
}

VARIANT child_variant(long child) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = child;
  return v;
}

void advance(Job& job, const char* next) {
  InterlockedIncrement(&job.progress);
  job.step = next;
}

IAccessible* client_object(Job& job) {
  IAccessible* object = nullptr;
  if (job.source == ObjectSource::AccessibleObjectFromWindow) {
    job.step = "AccessibleObjectFromWindow";
    if (FAILED(AccessibleObjectFromWindow(job.window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))))
      return nullptr;
    job.result.answered = true;
    return object;
  }
  job.step = "WM_GETOBJECT";
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(job.window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_ABORTIFHUNG,
                           INFINITE, &answer) ||
      answer == 0)
    return nullptr;  // no object of its own: its children are child windows
  advance(job, "ObjectFromLresult");
  if (FAILED(ObjectFromLresult(static_cast<LRESULT>(answer), IID_IAccessible, 0, reinterpret_cast<void**>(&object)))) {
    job.result.failure = "its accessible object could not be read";
    return nullptr;
  }
  job.result.answered = true;
  return object;
}

// The ids of the children, through the object's enumeration (they are sparse).
std::vector<long> child_ids(Job& job, IAccessible* object) {
  std::vector<long> ids;
  long count = 0;
  advance(job, "get_accChildCount");
  if (FAILED(object->get_accChildCount(&count)) || count <= 0) return ids;
  std::vector<VARIANT> children(static_cast<std::size_t>(count));
  long obtained = 0;
  advance(job, "AccessibleChildren");
  if (FAILED(AccessibleChildren(object, 0, count, children.data(), &obtained))) {
    job.result.failure = "its children could not be enumerated";
    return ids;
  }
  for (long i = 0; i < obtained; ++i) {
    VARIANT& child = children[static_cast<std::size_t>(i)];
    if (child.vt == VT_I4) ids.push_back(child.lVal);
    VariantClear(&child);
  }
  return ids;
}

bool read_child(Job& job, IAccessible* object, long id, ReadElement* element) {
  VARIANT child = child_variant(id);
  element->child = id;
  BSTR name = nullptr;
  advance(job, "get_accName");
  if (FAILED(object->get_accName(child, &name))) return false;
  element->name = ansi(name);
  SysFreeString(name);
  VARIANT role, state;
  VariantInit(&role);
  VariantInit(&state);
  advance(job, "get_accRole");
  if (FAILED(object->get_accRole(child, &role)) || role.vt != VT_I4) return false;
  element->role = role.lVal;
  advance(job, "get_accState");
  if (FAILED(object->get_accState(child, &state)) || state.vt != VT_I4) return false;
  element->state = state.lVal;
  long left = 0, top = 0, width = 0, height = 0;
  advance(job, "accLocation");
  if (FAILED(object->accLocation(&left, &top, &width, &height, child))) return false;
  element->box = {left, top, left + width, top + height};
  return true;
}

void read_last_names(Job& job, IAccessible* object) {
  const std::vector<long> ids = child_ids(job, object);
  for (std::size_t i = ids.size(); i > 0 && job.names.size() < job.names_from_end; --i) {
    VARIANT child = child_variant(ids[i - 1]);
    BSTR name = nullptr;
    advance(job, "get_accName");
    if (FAILED(object->get_accName(child, &name))) return;
    job.names.push_back(ansi(name));
    SysFreeString(name);
  }
}

void read_all(Job& job, IAccessible* object) {
  for (long id : child_ids(job, object)) {
    ReadElement element;
    if (!read_child(job, object, id, &element)) {
      job.result.failure = "element " + std::to_string(id - 1) + " could not be read (" + job.step + ")";
      return;
    }
    job.result.elements.push_back(element);
  }
}

// Waits for the window to go (its thread is busy launching meanwhile: no progress is claimed
// until then), then asks the object it gave.
void ask_after_close(Job& job, IAccessible* object) {
  job.step = "the window's destruction";
  for (int tries = 0; tries < 1000 && IsWindow(job.window); ++tries) Sleep(20);
  if (IsWindow(job.window)) {
    job.after_close = "window still there";
    return;
  }
  advance(job, "get_accChildCount after the window's destruction");
  long count = 0;
  job.after_close = hex_result(object->get_accChildCount(&count));
}

DWORD WINAPI run_job(void* context) {
  std::shared_ptr<Job>& held = *static_cast<std::shared_ptr<Job>*>(context);
  std::shared_ptr<Job> job = held;
  delete &held;
  (void)CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (IAccessible* object = client_object(*job)) {
    if (job->action_child >= 0) {
      advance(*job, "accDoDefaultAction");
      const HRESULT done = object->accDoDefaultAction(child_variant(job->action_child));
      if (FAILED(done)) job->result.failure = "accDoDefaultAction failed (" + hex_result(done) + ")";
      if (SUCCEEDED(done) && job->check_after_close) ask_after_close(*job, object);
    } else if (job->hit_test) {
      VARIANT found;
      VariantInit(&found);
      advance(*job, "accHitTest");
      const HRESULT asked = object->accHitTest(job->at.x, job->at.y, &found);
      if (FAILED(asked)) job->result.failure = "accHitTest failed (" + hex_result(asked) + ")";
      if (asked == S_OK && found.vt == VT_I4) job->hit = found.lVal;
      VariantClear(&found);
    } else if (job->names_from_end > 0) {
      read_last_names(*job, object);
    } else {
      read_all(*job, object);
    }
    object->Release();
  } else if (job->action_child >= 0 && job->result.failure.empty()) {
    job->result.failure = "the window has no accessible object of its own";
  }
  advance(*job, "done");
  CoUninitialize();
  return 0;
}

// Runs the job on its own thread; waits while it makes progress.
ElementReading run(std::shared_ptr<Job> job, DWORD stall_ms) {
  auto* handed = new std::shared_ptr<Job>(job);
  HANDLE thread = CreateThread(nullptr, 0, run_job, handed, 0, nullptr);
  if (!thread) {
    delete handed;
    return {false, {}, "no thread to read the window on"};
  }
  LONG seen = job->progress;
  ULONGLONG since = GetTickCount64();
  for (;;) {
    if (WaitForSingleObject(thread, 20) == WAIT_OBJECT_0) break;
    const LONG now = job->progress;
    if (now != seen) {
      seen = now;
      since = GetTickCount64();
    } else if (GetTickCount64() - since >= stall_ms) {
      CloseHandle(thread);  // left to itself: the window's thread does not answer
      ElementReading stalled;
      stalled.failure = "its thread gave no answer to " + job->step + " within " +
                        std::to_string(GetTickCount64() - since) + " ms";
      return stalled;
    }
  }
  CloseHandle(thread);
  return job->result;
}

}  // namespace

ElementReading read_elements(HWND window, ObjectSource source, DWORD stall_ms) {
  auto job = std::make_shared<Job>();
  job->window = window;
  job->source = source;
  return run(job, stall_ms);
}

std::string do_default_action(HWND window, long child, DWORD stall_ms, std::string* after_close) {
  auto job = std::make_shared<Job>();
  job->window = window;
  job->source = ObjectSource::AccessibleObjectFromWindow;
  job->action_child = child;
  job->check_after_close = after_close != nullptr;
  const std::string failure = run(job, after_close ? 30000 : stall_ms).failure;
  if (after_close && failure.empty()) *after_close = job->after_close;
  return failure;
}

long hit_test(HWND window, POINT at, DWORD stall_ms, std::string* failure) {
  auto job = std::make_shared<Job>();
  job->window = window;
  job->source = ObjectSource::AccessibleObjectFromWindow;
  job->hit_test = true;
  job->at = at;
  *failure = run(job, stall_ms).failure;
  return job->hit;
}

std::vector<std::string> last_child_names(HWND window, std::size_t count, DWORD stall_ms) {
  auto job = std::make_shared<Job>();
  job->window = window;
  job->names_from_end = count == 0 ? static_cast<std::size_t>(-1) : count;
  run(job, stall_ms);
  return job->names;
}

const char* class_of_role(long role) {
  switch (role) {
    case ROLE_SYSTEM_LINK:
      return "KestrivalumeLink";
    case ROLE_SYSTEM_GRAPHIC:
      return "KestrivalumeImage";
    case ROLE_SYSTEM_PUSHBUTTON:
      return "KestrivalumeIconButton";
    default:
      return "Static";
  }
}

std::string role_name(long role) {
  switch (role) {
    case ROLE_SYSTEM_LINK:
      return "link";
    case ROLE_SYSTEM_GRAPHIC:
      return "graphic";
    case ROLE_SYSTEM_PUSHBUTTON:
      return "pushbutton";
    case ROLE_SYSTEM_STATICTEXT:
      return "text";
    case ROLE_SYSTEM_CLIENT:
      return "client";
    default:
      return "role" + std::to_string(role);
  }
}

}  // namespace win_shared
