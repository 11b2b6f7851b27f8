#include "gl/PerContextObjects.h"

#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include <glbinding/gl33core/gl.h>

using namespace gl33core;

namespace Orvane::Lumisk {

namespace {

struct PendingName {
  PerContextNames::Deleter remove;
  GLuint name;
};

// The bookkeeping of every helper; never destroyed, since helpers owned by
// module-wide objects may be released during exit.
struct PerContextBook {
  std::mutex mutex;
  std::set<PerContextNames*> helpers;
  std::map<HGLRC, std::vector<PendingName>> pending;
};

PerContextBook& Book() {
  static PerContextBook* book = new PerContextBook();
  return *book;
}

// Takes the names queued for the context; the caller deletes them outside the lock.
std::vector<PendingName> TakePending(PerContextBook& book, HGLRC context) {
  std::vector<PendingName> taken;
  const auto found = book.pending.find(context);
  if (found != book.pending.end()) {
    taken = std::move(found->second);
    book.pending.erase(found);
  }
  return taken;
}

void DeleteAll(const std::vector<PendingName>& names) {
  for (const PendingName& pending : names) {
    pending.remove(pending.name);
  }
}

}  // namespace

GLuint FramebufferName::Generate() {
  GLuint name = 0;
  glGenFramebuffers(1, &name);
  return name;
}

void FramebufferName::Delete(GLuint name) {
  glDeleteFramebuffers(1, &name);
}

GLuint VertexArrayName::Generate() {
  GLuint name = 0;
  glGenVertexArrays(1, &name);
  return name;
}

void VertexArrayName::Delete(GLuint name) {
  glDeleteVertexArrays(1, &name);
}

PerContextNames::PerContextNames(Generator generator, Deleter deleter) : generate(generator), remove(deleter) {
  PerContextBook& book = Book();
  std::lock_guard<std::mutex> lock(book.mutex);
  book.helpers.insert(this);
}

PerContextNames::~PerContextNames() {
  Release();
  PerContextBook& book = Book();
  std::lock_guard<std::mutex> lock(book.mutex);
  book.helpers.erase(this);
}

GLuint PerContextNames::Get(bool* created) {
  if (created != nullptr) {
    *created = false;
  }
  const HGLRC context = wglGetCurrentContext();
  if (context == nullptr) {
    return 0;
  }
  PerContextBook& book = Book();
  std::vector<PendingName> due;
  {
    std::lock_guard<std::mutex> lock(book.mutex);
    const auto found = names.find(context);
    if (found != names.end()) {
      return found->second;
    }
    due = TakePending(book, context);
  }
  DeleteAll(due);
  // Made outside the lock: only this thread uses the current context.
  const GLuint name = generate();
  {
    std::lock_guard<std::mutex> lock(book.mutex);
    names[context] = name;
  }
  if (created != nullptr) {
    *created = true;
  }
  return name;
}

GLuint PerContextNames::Find() const {
  const HGLRC context = wglGetCurrentContext();
  std::lock_guard<std::mutex> lock(Book().mutex);
  const auto found = names.find(context);
  return found != names.end() ? found->second : 0;
}

void PerContextNames::Release() {
  const HGLRC current = wglGetCurrentContext();
  PerContextBook& book = Book();
  GLuint ownName = 0;
  {
    std::lock_guard<std::mutex> lock(book.mutex);
    for (const auto& [context, name] : names) {
      if (context == current) {
        ownName = name;
      } else {
        book.pending[context].push_back(PendingName{remove, name});
      }
    }
    names.clear();
  }
  if (ownName != 0) {
    remove(ownName);
  }
}

std::size_t PerContextNames::ContextCount() const {
  std::lock_guard<std::mutex> lock(Book().mutex);
  return names.size();
}

void PerContextNames::Forget(HGLRC context) {
  names.erase(context);
}

GLuint PerContextVertexArray::Bind(const std::function<void()>& layout) {
  bool created = false;
  const GLuint vertexArray = names.Get(&created);
  if (vertexArray == 0) {
    return 0;
  }
  glBindVertexArray(vertexArray);
  if (created && layout) {
    layout();
  }
  return vertexArray;
}

void DeletePendingContextObjects() {
  const HGLRC context = wglGetCurrentContext();
  if (context == nullptr) {
    return;
  }
  std::vector<PendingName> due;
  {
    PerContextBook& book = Book();
    std::lock_guard<std::mutex> lock(book.mutex);
    due = TakePending(book, context);
  }
  DeleteAll(due);
}

void ForgetContextObjects(HGLRC context) {
  PerContextBook& book = Book();
  std::lock_guard<std::mutex> lock(book.mutex);
  book.pending.erase(context);
  for (PerContextNames* helper : book.helpers) {
    helper->Forget(context);
  }
}

std::size_t PendingContextObjectCount(HGLRC context) {
  PerContextBook& book = Book();
  std::lock_guard<std::mutex> lock(book.mutex);
  const auto found = book.pending.find(context);
  return found != book.pending.end() ? found->second.size() : 0;
}

}  // namespace Orvane::Lumisk
