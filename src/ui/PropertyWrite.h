#pragma once
// The controls' property-write rule: a write that stores a new value takes effect at once; a write
// of the value already stored does nothing.

namespace zelvo {

// Stores `value` and returns true when it differs from what `stored` holds; otherwise false.
template <typename T>
bool storeIfChanged(T& stored, const T& value) {
    if (stored == value)
        return false;
    stored = value;
    return true;
}

}  // namespace zelvo
