#pragma once
// The plain values of the control core: layout and drag enumerations (stored and streamed, no
// behaviour), mouse and keyboard state, control style and state flags, and the event types
// controls publish.
#include <cstdint>

#include "frame/ClassBuilder.h"
#include "frame/StandardIdents.h"
#include "frame/TEvent.h"
#include "frame/TSet.h"

namespace frame {

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
ZORVANE_ENUM_TYPE(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient")

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
ZORVANE_ENUM_TYPE(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom")
using TAnchors = TSet<TAnchorKind>;

enum TDragKind { dkDrag, dkDock };
ZORVANE_ENUM_TYPE(TDragKind, "dkDrag", "dkDock")
enum TDragMode { dmManual, dmAutomatic };
ZORVANE_ENUM_TYPE(TDragMode, "dmManual", "dmAutomatic")
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
ZORVANE_ENUM_TYPE(TDragState, "dsDragEnter", "dsDragLeave", "dsDragMove")

enum TMouseButton { mbLeft, mbRight, mbMiddle };
ZORVANE_ENUM_TYPE(TMouseButton, "mbLeft", "mbRight", "mbMiddle")

enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
ZORVANE_ENUM_TYPE(TShiftStateFlag, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle",
                  "ssDouble")
using TShiftState = TSet<TShiftStateFlag>;

// What a control class is (fixed by its constructor).
enum TControlStyleFlag {
    csAcceptsControls, // a container: children read from a stream are parented to it
    csCaptureMouse,    // a press captures the mouse until the release
    csClickEvents,     // a press and release inside makes Click
    csSetCaption,
    csOpaque,       // paints every pixel: the parent need not erase beneath it
    csDoubleClicks, // a double click makes DblClick (else it counts as another press)
    csFixedWidth,
    csFixedHeight,
    csNoStdEvents, // mouse and key events are not raised
    csReplicatable,
    csTopLevelWindow, // may be shown without a parent, as a window of its own (forms, hints)
};
using TControlStyle = TSet<TControlStyleFlag>;

// What a control is doing now.
enum TControlStateFlag {
    csLButtonDown,
    csClicked, // pressed with csClickEvents; a release inside clicks
    csReadingState,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
};
using TControlState = TSet<TControlStateFlag>;

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
// The key is a virtual key code; a handler that sets it to 0 swallows the key.
using TKeyEvent = TEvent<TObject*, uint16_t&, TShiftState>;
// The character is a code point; a handler that sets it to 0 swallows it.
using TKeyPressEvent = TEvent<TObject*, char32_t&>;
using TDragDropEvent = TEvent<TObject*, TObject*, int, int>;
using TDragOverEvent = TEvent<TObject*, TObject*, int, int, TDragState, bool&>;
using TStartDragEvent = TEvent<TObject*, TObject*&>;
using TEndDragEvent = TEvent<TObject*, TObject*, int, int>;
using TStartDockEvent = TEvent<TObject*, TObject*&>;
using TEndDockEvent = TEvent<TObject*, TObject*, int, int>;

} // namespace frame
