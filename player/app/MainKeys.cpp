#include "app/MainKeys.h"

KeyCommand CommandForKey(WPARAM key)
{
    switch (key) {
    case VK_ESCAPE: return KeyCommand::LeaveFullScreen;
    case VK_UP: return KeyCommand::Swallow;
    case VK_SPACE: return KeyCommand::PlayOrPause;
    case VK_LEFT: return KeyCommand::Slower;
    case VK_RIGHT: return KeyCommand::Faster;
    case VK_DOWN: return KeyCommand::NextFile;
    default: return KeyCommand::PassOn;
    }
}
