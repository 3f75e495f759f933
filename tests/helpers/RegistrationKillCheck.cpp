// Registers owner and organization again and again, each registration in a child process killed
// with SIGKILL at a random moment of its life, as a crash or a killed session would. After each
// kill it reads the registration file, which must hold the pair before the kill or the new one,
// and times the next registration, which no lock left by the killed process may hold.
//
//   registration_kill_check DIRECTORY [COUNT]
//
// Prints "key value" lines: kills, unchanged, changed, mixed, slowest_next_ms, child_life_us.
// Runs apart from the test program: it forks, which a program with other threads running cannot
// do safely.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <utility>

#include "platform/RegistryKeys.h"
#include "platform/RegistryTree.h"
#include "platform/linux/RegistrationStore.h"

using namespace zelvo::platform;
using Clock = std::chrono::steady_clock;

namespace {

using Pair = std::pair<std::string, std::string>;

RegValue sz(const std::string& text) {
    return RegValue{kRegSz, text + std::string(1, '\0')};
}

// One registration as the user page makes it: one opening of the key, two values, the close.
void registerPair(RegistryTree& tree, const Pair& pair) {
    HKey key = 0;
    if (tree.regCreateKey(kHKeyLocalMachine, std::string(regkeys::kVersionNT), &key) != kRegSuccess)
        return;
    const RegValue owner = sz(pair.first);
    const RegValue organization = sz(pair.second);
    tree.regSetValue(key, std::string(regkeys::kRegisteredOwner), owner.type,
                     reinterpret_cast<const std::uint8_t*>(owner.data.data()),
                     static_cast<std::uint32_t>(owner.data.size()));
    tree.regSetValue(key, std::string(regkeys::kRegisteredOrganization), organization.type,
                     reinterpret_cast<const std::uint8_t*>(organization.data.data()),
                     static_cast<std::uint32_t>(organization.data.size()));
    tree.regCloseKey(key);
}

std::string text(const std::optional<RegValue>& value) {
    if (!value || value->data.empty())
        return {};
    return value->data.substr(0, value->data.size() - 1);
}

Pair stored(const QString& directory) {
    RegistryTree tree;
    tree.setStore(kHKeyLocalMachine, regkeys::kVersionNT, std::make_shared<RegistrationStore>(directory, "default"));
    return {text(tree.getValue(kHKeyLocalMachine, regkeys::kVersionNT, regkeys::kRegisteredOwner)),
            text(tree.getValue(kHKeyLocalMachine, regkeys::kVersionNT, regkeys::kRegisteredOrganization))};
}

// A child that registers `pair` and ends; its pid.
pid_t startRegistration(RegistryTree& tree, const Pair& pair) {
    const pid_t child = ::fork();
    if (child == 0) {
        registerPair(tree, pair);
        ::_exit(0);
    }
    return child;
}

void reap(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY [COUNT]\n", argv[0]);
        return 2;
    }
    const QString directory = QString::fromLocal8Bit(argv[1]);
    const int count = argc > 2 ? std::atoi(argv[2]) : 200;
    RegistryTree tree;
    tree.setStore(kHKeyLocalMachine, regkeys::kVersionNT, std::make_shared<RegistrationStore>(directory, "default"));

    // How long a registration's child lives, unkilled: the kills are spread over that time.
    Pair previous{"owner-start", "organization-start"};
    registerPair(tree, previous);
    Clock::duration life{};
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        reap(startRegistration(tree, previous));
        life = std::max(life, Clock::now() - start);
    }

    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long long> moment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(life).count());
    std::uniform_int_distribution<int> padding(0, 300);
    int unchanged = 0;
    int changed = 0;
    int mixed = 0;
    Clock::duration slowest{};
    for (int i = 0; i < count; ++i) {
        // Lengths vary, so a torn or mixed file could not pass for a whole one by its size.
        const std::string tag = std::to_string(i) + std::string(static_cast<std::size_t>(padding(random)), 'x');
        const Pair next{"owner-" + tag, "organization-" + tag};
        const pid_t child = startRegistration(tree, next);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        reap(child);

        const Pair found = stored(directory);
        if (found == previous) {
            ++unchanged;
        } else if (found == next) {
            ++changed;
        } else {
            ++mixed;
            std::fprintf(stderr, "kill %d left owner \"%s\" with organization \"%s\"\n", i, found.first.c_str(),
                         found.second.c_str());
        }

        const Pair after{"owner-after-" + tag, "organization-after-" + tag};
        const auto start = Clock::now();
        registerPair(tree, after);
        slowest = std::max(slowest, Clock::now() - start);
        if (stored(directory) != after) {
            std::fprintf(stderr, "the registration after kill %d was lost\n", i);
            ++mixed;
        }
        previous = after;
    }
    std::printf("kills %d\nunchanged %d\nchanged %d\nmixed %d\nslowest_next_ms %.1f\nchild_life_us %lld\n", count,
                unchanged, changed, mixed, std::chrono::duration<double, std::milli>(slowest).count(),
                static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(life).count()));
    return 0;
}
