// A member file put in place for one session: the plug-in reads
// Plugins\VC.dom from the folder of the host's executable, so a session with
// another member file copies it there and puts back what was there before
// when it ends.
#pragma once

#include <optional>
#include <string>

class TMemberFileInstall {
public:
    // Copies `source` to `target`, keeping what `target` held (or that it did
    // not exist) and creating its folder when missing. Throws
    // std::runtime_error naming the file that cannot be read or written.
    TMemberFileInstall(const std::string& source, const std::string& target);
    // Restore().
    ~TMemberFileInstall();
    TMemberFileInstall(const TMemberFileInstall&) = delete;
    TMemberFileInstall& operator=(const TMemberFileInstall&) = delete;

    // Puts back the earlier file, or removes the copy (and the folder, when
    // it was made for it and is empty). Also runs when the session is broken
    // off with Ctrl+C. Idempotent.
    void Restore();

private:
    std::string Target_;
    std::optional<std::string> Previous_;
    std::string CreatedFolder_;
    bool Restored_ = false;
};
