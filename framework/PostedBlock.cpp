#include "PostedBlock.h"

#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace posted_block_detail {
namespace {

// The registry's one lock guards the blocks on their way and the windows
// being destroyed. It is held while a block is posted (PostMessage queues
// and returns; it waits for no thread), so that a window's destruction
// cannot fall between a post and its registration.
std::mutex& Lock()
{
    static std::mutex lock;
    return lock;
}
// Block -> the window it was posted to.
std::unordered_map<BlockBase*, HWND>& Pending()
{
    static std::unordered_map<BlockBase*, HWND> pending;
    return pending;
}
// Windows whose destruction has begun: no more blocks for them.
std::unordered_set<HWND>& Closed()
{
    static std::unordered_set<HWND> closed;
    return closed;
}

}  // namespace

bool Post(HWND window, UINT message, WPARAM wParam, BlockBase* block)
{
    {
        std::lock_guard<std::mutex> hold(Lock());
        if (Closed().count(window) && !::IsWindow(window))
            Closed().erase(window);  // gone for good: forget it
        else if (window && !Closed().count(window) && ::IsWindow(window) &&
            ::PostMessageW(window, message, wParam, reinterpret_cast<LPARAM>(block))) {
            Pending().emplace(block, window);
            return true;
        }
    }
    delete block;
    return false;
}

BlockBase* Take(LPARAM lParam, const void* type)
{
    auto* block = reinterpret_cast<BlockBase*>(lParam);
    std::lock_guard<std::mutex> hold(Lock());
    auto it = Pending().find(block);
    // Only a block still registered is dereferenced: a stale lParam may
    // point at freed memory.
    if (it == Pending().end() || block->type != type)
        return nullptr;
    Pending().erase(it);
    return block;
}

}  // namespace posted_block_detail

using namespace posted_block_detail;

std::size_t PendingBlockCount()
{
    std::lock_guard<std::mutex> hold(Lock());
    return Pending().size();
}

void FreeBlocksOf(HWND window)
{
    std::vector<BlockBase*> dead;
    {
        std::lock_guard<std::mutex> hold(Lock());
        Closed().insert(window);
        for (auto it = Pending().begin(); it != Pending().end();) {
            if (it->second == window) {
                dead.push_back(it->first);
                it = Pending().erase(it);
            } else {
                ++it;
            }
        }
    }
    for (BlockBase* b : dead)
        delete b;
}

void AcceptBlocksFor(HWND window)
{
    std::lock_guard<std::mutex> hold(Lock());
    Closed().erase(window);
}
