#pragma once

#include <optional>
#include <utility>

// Process-wide single instances (the protocol client, the device model, its controllers, the
// soft keys, the text tables) live in the static storage of their accessor functions. They hold
// sockets and timers, so they must be gone before QCoreApplication is: every instance registers
// itself here when it is built, and destroySharedObjects() destroys all of them, the most
// recently built first. The first registration arranges for destroySharedObjects() to run from
// QCoreApplication's destructor (qAddPostRoutine); tests call it between test functions so each
// function starts from fresh instances. A program that ends without that teardown still destroys
// the instances in the same order, when the first holder that still has one goes.
//
// An accessor looks like this:
//
//     ksm::CCom *comClient()
//     {
//         static SharedObject<ksm::CCom> client;
//         return client.instance();
//     }
//
//     TComDevice *comDevice()
//     {
//         static SharedObject<TComDevice> device;
//         return device.instance([] { return comClient(); });
//     }
//
// GUI thread only.

// Destroys every registered instance, the most recently built first. An instance built while
// this runs (by a destructor that calls an accessor) is destroyed as well. Afterwards each
// accessor builds a fresh instance on its next call.
void destroySharedObjects();

// Number of instances that exist now.
[[nodiscard]] int sharedObjectCount();

namespace SharedObjectsPrivate {
using Destroyer = void (*)(void *holder);
void registerInstance(void *holder, Destroyer destroy);
} // namespace SharedObjectsPrivate

// Holds one instance of T, built in place on the first call of instance(). Not copyable; meant
// to be a function-local static.
template<typename T>
class SharedObject
{
public:
    SharedObject() = default;
    SharedObject(const SharedObject &) = delete;
    SharedObject &operator=(const SharedObject &) = delete;

    // Reached with an instance only when the program ends without the application's teardown
    // (no QCoreApplication, or std::exit()). The holders then go in the reverse order of their
    // own first use, which is not that of their instances (an accessor's holder exists before
    // the objects its instance is built from), so every instance is torn down here first, the
    // most recently built first.
    ~SharedObject()
    {
        if (m_value)
            destroySharedObjects();
    }

    // Returns the instance, building it with T's default constructor when it does not exist.
    T *instance()
    {
        if (!m_value) {
            m_value.emplace();
            SharedObjectsPrivate::registerInstance(this, &SharedObject::destroy);
        }
        return &*m_value;
    }

    // Returns the instance, building it when it does not exist from the one argument returned
    // by makeArgument. makeArgument runs only then, so an accessor it calls builds its own
    // object first (and that object is destroyed after this one). If T's constructor throws,
    // nothing is registered and the next call tries again.
    template<typename MakeArgument>
    T *instance(MakeArgument &&makeArgument)
    {
        if (!m_value) {
            m_value.emplace(std::forward<MakeArgument>(makeArgument)());
            SharedObjectsPrivate::registerInstance(this, &SharedObject::destroy);
        }
        return &*m_value;
    }

    [[nodiscard]] bool exists() const { return m_value.has_value(); }

private:
    static void destroy(void *holder) { static_cast<SharedObject *>(holder)->m_value.reset(); }

    std::optional<T> m_value;
};
