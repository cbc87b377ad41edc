#pragma once

#include <QString>
#include <QStringList>

// Two network interfaces of a test's own, the ends of a veth pair, each up
// with an address on a /24 of its own, for tests that need more than
// loopback. They live in a network namespace that the helper makes for the
// calling thread and leaves again when it goes, so tests running beside it in
// the suite's namespace never see them and nothing outlives a crash.
// Needs root inside the suite's private namespace; otherwise isReady() is
// false and unavailableReason() says why. Make sockets only after it, and
// let them go before it.
class PrivateSubnets {
public:
    // The address of each end, in the order of the ends.
    static const QStringList Addresses;
    static constexpr int PrefixLength = 24;

    PrivateSubnets();
    ~PrivateSubnets();
    PrivateSubnets(const PrivateSubnets&) = delete;
    PrivateSubnets& operator=(const PrivateSubnets&) = delete;

    bool isReady() const { return m_unavailableReason.isEmpty(); }
    QString unavailableReason() const { return m_unavailableReason; }

    // A further address on the subnet of the end with this index, not taken
    // by this machine: a neighbour there.
    static QString neighbour(int end);

private:
    bool enterOwnNamespace();
    bool makeInterfaces();
    bool interfacesRunning() const;

    int m_suiteNamespace = -1;
    QString m_unavailableReason;
};

#define TOLVANE_REQUIRE_PRIVATE_SUBNETS(subnets)                                                   \
    do {                                                                                           \
        if (!(subnets).isReady())                                                                  \
            GTEST_SKIP() << (subnets).unavailableReason().toStdString();                          \
    } while (0)
