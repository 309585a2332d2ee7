#include "tools/tool.h"

#include "shell/configuration.h"
#include "shell/cursors.h"
#include "shell/sound.h"

HCURSOR g_toolCursor = nullptr;
HCURSOR g_cursorBeforeTool = nullptr;

namespace {

constexpr int kShapeCursor = 202;
constexpr DWORD kDragSoundInterval = 100;

}  // namespace

Tool::Tool(WorkshopScreen* owner, HCURSOR cursor) : m_owner(owner) {
    g_toolCursor = cursor;
    g_cursorBeforeTool = cursor != nullptr ? SetCurrentCursor(cursor) : nullptr;
}

Tool::~Tool() {
    if (g_cursorBeforeTool != nullptr) SetCurrentCursor(g_cursorBeforeTool);
}

ShapeTool::ShapeTool(WorkshopScreen* owner, const char* dragSoundName)
    : Tool(owner, LoadedCursor(kShapeCursor)) {
    m_dragSoundInterval = kDragSoundInterval;
    m_dragSound = dragSoundName != nullptr ? LoadSound(dragSoundName) : nullptr;
}

ShapeTool::~ShapeTool() { FreeSound(m_dragSound); }

void ShapeTool::PlayDoneSound() { PlaySoundFile("pook", SND_ASYNC); }
