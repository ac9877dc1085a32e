#pragma once

#include <cstdint>

namespace editor {

// The list box's side of the document: told before and after each change of the records, so a
// view over them can stay item for item in step without a copy of its own.
class ListObserver {
public:
    virtual ~ListObserver() = default;

    virtual void BeforeReset() = 0;
    virtual void AfterReset() = 0;
    virtual void BeforeAppend(std::int32_t index) = 0;
    virtual void AfterAppend() = 0;
    virtual void BeforeRemove(std::int32_t index) = 0;
    virtual void AfterRemove() = 0;
    virtual void Changed(std::int32_t first, std::int32_t last) = 0;
};

}  // namespace editor
