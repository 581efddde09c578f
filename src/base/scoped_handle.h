// The owner of one handle of any kind: Traits names the handle's type, the value that means
// "none" and how the handle is released. It moves but never copies, and offers get(), release()
// (give the handle up unreleased) and reset() (release it now, optionally take another).
// base/scoped_file.h and base/win/scoped_handles.h name the kinds the program uses.
#pragma once

template <typename Traits> class ScopedHandle {
  public:
    using Handle = typename Traits::Handle;

    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::None(); }

    Handle release() {
        const Handle handle = handle_;
        handle_ = Traits::None();
        return handle;
    }
    void reset(Handle handle = Traits::None()) {
        if (handle_ != Traits::None()) {
            Traits::Release(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = Traits::None();
};
