// Posting a block of memory to a window from any thread.
//
// A worker thread (an engine callback, the recording scan) hands its result
// to a window as a heap block that travels with a posted message:
//
//     PostBlock(window, WM_INFO_FRAME, channel, std::move(copy));   // any thread
//
//     void CPanel::OnInfoFrame(Message& m) {                         // UI thread
//         std::unique_ptr<InfoFrameCopy> frame = TakeBlock<InfoFrameCopy>(m);
//         if (!frame) return;   // freed already: nothing to do
//         ...
//     }                                                              // freed here
//
// Every block is freed exactly once, whatever happens to the message: by the
// receiver that takes it; by PostBlock itself when the post fails (no such
// window, a full queue, a window being destroyed); by the framework when
// the window is destroyed with the message still queued. A message whose
// block was freed already, or whose lParam is no block of that type, gives
// null to TakeBlock.
#pragma once

#include "MessageTable.h"

#include <windows.h>

#include <cstddef>
#include <memory>
#include <new>

namespace posted_block_detail {

struct BlockBase {
    virtual ~BlockBase() = default;
    const void* type = nullptr;
};
template <class T>
struct Block : BlockBase {
    explicit Block(std::unique_ptr<T> p) : payload(std::move(p)) {}
    std::unique_ptr<T> payload;
};
template <class T>
const void* TypeTag()
{
    static const char tag = 0;
    return &tag;
}

bool Post(HWND window, UINT message, WPARAM wParam, BlockBase* block);
BlockBase* Take(LPARAM lParam, const void* type);

}  // namespace posted_block_detail

// Posts message (wParam, and the block as lParam) to window. true when the
// message is on its way; false when the block was freed here.
template <class T>
bool PostBlock(HWND window, UINT message, WPARAM wParam, std::unique_ptr<T> payload)
{
    if (!payload)
        return false;
    auto* block = new (std::nothrow) posted_block_detail::Block<T>(std::move(payload));
    if (!block)
        return false;
    block->type = posted_block_detail::TypeTag<T>();
    return posted_block_detail::Post(window, message, wParam, block);
}

// The block of a posted message, now owned by the caller; null when there
// is none (already freed, or another type). UI thread.
template <class T>
std::unique_ptr<T> TakeBlock(const Message& m)
{
    auto* block = static_cast<posted_block_detail::Block<T>*>(
        posted_block_detail::Take(m.lParam, posted_block_detail::TypeTag<T>()));
    if (!block)
        return nullptr;
    std::unique_ptr<T> payload = std::move(block->payload);
    delete block;
    return payload;
}

// Blocks posted and neither taken nor freed yet (tests count them).
std::size_t PendingBlockCount();

// The framework's side: the window's blocks die with it, and a window
// handle is open for blocks again once an object is attached to it.
void FreeBlocksOf(HWND window);
void AcceptBlocksFor(HWND window);
