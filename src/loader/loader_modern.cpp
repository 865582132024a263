// XPtrList and XDllLoader on const objects: reading a list without
// rebuilding its index.
#include <morvane/XDllLoader.h>
#include <morvane/XPtrList.h>
#include <morvane/XString.h>

// A stale index stays stale: the value is found by walking the chain.
void* XPtrList::Get(int i) const {
  if (valid) return index[i];
  const Node* node = first;
  for (int at = 0; at < i && node != nullptr; ++at) node = node->next;
  return node == nullptr ? nullptr : node->value;
}

int XPtrList::Count() const { return count; }

const char* XDllLoader::GetPath(int i) const {
  const auto* path = static_cast<const XString*>(paths.Get(i));
  return path == nullptr ? nullptr : path->GetPtr();
}

int XDllLoader::GetPathCount() const { return paths.Count(); }
