// Calls a virtual function by its position in the object's table, the way a host built against
// the published positions does, independent of any declaration order in our headers.
#pragma once

template <class Result, class... Args>
Result CallSlot(void* object, int position, Args... args) {
    typedef Result(__thiscall * Function)(void*, Args...);
    void** table = *static_cast<void***>(object);
    return reinterpret_cast<Function>(table[position])(object, args...);
}
