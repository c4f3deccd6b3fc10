#pragma once
// Calls by name through IDispatch. Objects that no type library proxy may be registered
// for (a window's location and history, the focused element) still cross processes this
// way: IDispatch has its own proxy everywhere.

#include <oaidl.h>

#include "browser/win32/com_util.h"

namespace paginor::win32 {

bool GetByName(IDispatch& object, const wchar_t* name, Variant& value);
bool PutByName(IDispatch& object, const wchar_t* name, Variant& value);
bool CallByName(IDispatch& object, const wchar_t* name);
// A property holding an object; null when it is missing or no object.
ComPtr<IDispatch> ObjectByName(IDispatch& object, const wchar_t* name);

}  // namespace paginor::win32
