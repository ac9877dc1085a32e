#pragma once

#include <QAccessible>

namespace editor {

class ListBox;

// Makes every ListBox readable by assistive technology: a list whose children are its items,
// each named by its text and telling whether it is selected and focused. Item interfaces are made
// only when a client asks for them, and only the most recent few are kept, so that a list of a
// million items costs nothing until a client walks it and little when one does. Installing
// again does nothing.
void InstallListBoxAccessibility();

// Tells assistive technology about item `row` of `list`: that it took the focus or the selection,
// or got a new text.
void AnnounceItem(ListBox* list, int row, QAccessible::Event type);

// Sees every announcement, also those that go nowhere because no reader is listening (always so
// offscreen): for tests. Returns the observer it replaces.
using ItemAnnouncementObserver = void (*)(const ListBox* list, int row, QAccessible::Event type);
ItemAnnouncementObserver SetItemAnnouncementObserver(ItemAnnouncementObserver observer);

}  // namespace editor
