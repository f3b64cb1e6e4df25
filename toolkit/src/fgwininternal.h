// Shared between the window layer's sources: the list itself and its lock.
#pragma once

#include <vector>

#include "fgwindow.h"

namespace fgwin {

FGMutex& list_lock();
// Bottom first; the last element is the top of the list.
std::vector<FGWindow*>& windows();
FGWindow*& current();
FGWindow*& root();

// Inserts by the window's group flags and makes it current.
void insert(FGWindow* w);
void remove(FGWindow* w);
int index_of(const FGWindow* w);

// The driver tells the window layer about changes of screen size.
void install_screen_hook();

// Title painted in the active or inactive colour.
void paint_title(FGWindow* w, bool active);

// Holds the window lock with the nesting count raised; lets go only when the
// window still exists (a window destroyed meanwhile released it already).
class CountedLock {
public:
    explicit CountedLock(FGWindow* w);
    ~CountedLock();
    CountedLock(const CountedLock&) = delete;
    CountedLock& operator=(const CountedLock&) = delete;
    bool alive() const;

private:
    FGWindow* window;
    int id;
};

}  // namespace fgwin
