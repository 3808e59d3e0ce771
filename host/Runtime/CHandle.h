#pragma once
// An owned pointer from a C library, released once by that library's own function when its
// owner goes away: CHandle<cairo_t, cairo_destroy>, CHandle<GMimeMessage, g_object_unref>,
// CHandle<char, ::free>. File descriptors have UniqueFd.
#include <memory>

namespace host {

template <auto Release>
struct CRelease {
    template <class T>
    void operator()(T* pointer) const {
        Release(pointer);
    }
};

template <class T, auto Release>
using CHandle = std::unique_ptr<T, CRelease<Release>>;

}  // namespace host
