#include "link/sharedobjects.h"

#include <QCoreApplication>

#include <vector>

namespace {

struct Entry
{
    void *holder;
    SharedObjectsPrivate::Destroyer destroy;
};

// Built on first use and never destroyed, so it outlives every holder that registers with it.
std::vector<Entry> &entries()
{
    static auto *list = new std::vector<Entry>;
    return *list;
}

bool s_postRoutineAdded = false;

void destroyAtApplicationExit()
{
    destroySharedObjects();
}

} // namespace

namespace SharedObjectsPrivate {

void registerInstance(void *holder, Destroyer destroy)
{
    entries().push_back({holder, destroy});
    if (!s_postRoutineAdded) {
        s_postRoutineAdded = true;
        qAddPostRoutine(destroyAtApplicationExit);
    }
}

} // namespace SharedObjectsPrivate

void destroySharedObjects()
{
    // Pop before destroying: a destructor may call an accessor, which registers a new entry
    // that this loop then destroys too.
    while (!entries().empty()) {
        const Entry entry = entries().back();
        entries().pop_back();
        entry.destroy(entry.holder);
    }
    if (s_postRoutineAdded) {
        // Keeps the list of exit routines at one entry however often tests reset; the next
        // registration adds it again.
        qRemovePostRoutine(destroyAtApplicationExit);
        s_postRoutineAdded = false;
    }
}

int sharedObjectCount()
{
    return static_cast<int>(entries().size());
}
