// The stand-in host's page: named objects, each with its own window, and
// the messages their own window procedures received.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/driver.h"
#include "platform/platform.h"

namespace vb::host {

namespace driver = platform::driver;

enum class ObjectKind { Progress, Input, Button };

struct HostObject {
    std::string name;
    ObjectKind kind = ObjectKind::Progress;
    bool dialog = false;
    int x = 0, y = 0, width = 200, height = 24;
    platform::Window window = nullptr;  // no longer a window once removed
};

// Object type numbers as the host reports them.
int ObjectTypeNumber(ObjectKind kind);

class Page {
public:
    Page();
    // False when the name is taken on that surface or the window cannot be made.
    platform::Window Add(ObjectKind kind, const std::string& name, bool dialog, int x, int y, int width,
                         int height);
    bool Remove(const std::string& name);
    bool Resize(const std::string& name, int width, int height);
    // Page objects first, then dialog objects.
    const HostObject* Find(const std::string& name) const;
    const HostObject* FindOn(const std::string& name, bool dialog) const;
    const std::vector<unsigned>* Messages(const std::string& name) const;
    // The window an object had, also once it was removed; null for a name
    // never added.
    platform::Window WindowOf(const std::string& name) const;
    // Property names on the object's window; for a removed object, the ones
    // its own procedure saw at WM_DESTROY.
    std::vector<std::string> Properties(const std::string& name) const;
    platform::Window PageWindow() const { return page_; }
    // Screen position of an object's top-left corner.
    pixels::Point Origin(const HostObject& object) const;

    static Page& Current();

private:
    platform::Window surfaceFor(bool dialog);
    void fit(platform::Window surface, int right, int bottom);

    platform::Window page_ = nullptr;
    platform::Window dialog_ = nullptr;
    std::map<std::string, HostObject> pageObjects_;
    std::map<std::string, HostObject> dialogObjects_;
};

}  // namespace vb::host
