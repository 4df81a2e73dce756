// What the placement store needs of the registry. On Windows the current
// user's registry stands behind it; tests use an in-memory tree that can be
// told to fail at any step.
#pragma once

#include <memory>
#include <string>

enum class TRegistryReadStatus {
    Missing,    // no such value
    Text,       // a text value; its text came back
    WrongType,  // the value exists but holds no text
    Failed,     // the value exists but could not be read
};

struct TRegistryTextRead {
    TRegistryReadStatus Status = TRegistryReadStatus::Missing;
    std::string Text;
};

// One open key. Destroying the object closes the key, so a key cannot stay
// open past an error.
class TPlacementKey {
public:
    virtual ~TPlacementKey() = default;

    // Null when the subkey does not exist or cannot be opened.
    virtual std::unique_ptr<TPlacementKey> OpenSubKeyForReading(const std::string& name) = 0;
    // Opens the subkey, creating it when missing; null when that fails.
    virtual std::unique_ptr<TPlacementKey> CreateSubKey(const std::string& name) = 0;

    virtual TRegistryTextRead ReadText(const std::string& name) = 0;
    // Stores the text as a text value; false when the registry refused it.
    virtual bool WriteText(const std::string& name, const std::string& text) = 0;
};

class TPlacementRegistry {
public:
    virtual ~TPlacementRegistry() = default;

    // The application key under the current user's root, created when
    // missing; null when it can neither be opened nor created.
    virtual std::unique_ptr<TPlacementKey> OpenApplicationKey() = 0;
};
