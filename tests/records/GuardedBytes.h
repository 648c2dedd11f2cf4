// GuardedBytes.h: bytes placed right before a page no one may touch, so a read past them faults.
#pragma once

#include <cstddef>
#include <string>

namespace guarded {

// A copy of the bytes that ends exactly at an inaccessible page: no
// terminator, no slack. Reading one byte past the last stops the test.
class GuardedBytes {
public:
    explicit GuardedBytes(const std::string& bytes);
    ~GuardedBytes();
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    const char* Data() const { return data_; }
    size_t Length() const { return length_; }

private:
    void* reserved_ = nullptr;  // owned: released in the destructor
    const char* data_ = nullptr;
    size_t length_ = 0;
};

}  // namespace guarded
