// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <sys/types.h>
#include <unistd.h>

namespace Ionaria::testing {

// The effective user for a scope, so that root, as the tests run in CI,
// meets a protected file as any other user does. Outside root nothing
// changes: the user already is one whom the protection stops.
class ActingAs {
public:
    static constexpr uid_t nobody = 65534;

    explicit ActingAs(uid_t user = nobody) : m_changed(::geteuid() == 0 && ::seteuid(user) == 0) {}
    ~ActingAs() {
        if (m_changed && ::seteuid(0) != 0) {
            qFatal("cannot become root again");
        }
    }
    ActingAs(const ActingAs&) = delete;
    ActingAs& operator=(const ActingAs&) = delete;

    // False when root could not become the other user.
    bool acting() const { return m_changed || ::geteuid() != 0; }

private:
    bool m_changed;
};

} // namespace Ionaria::testing
