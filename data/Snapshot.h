#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "data/Database.h"
#include "platform/Fault.h"
#include "platform/Value.h"

namespace data {

class Connection;

// One state of a shop database for a whole pricing run, or a whole book of runs. Every read of the
// session sees the data as of the moment the snapshot began, whatever other programs commit meanwhile, and
// a read asked again comes from the session's read cache. The snapshot keeps a private working copy of one
// table (the orders), filled from the snapshot, into which each quantity writes; whatever a quantity
// writes is undone when it ends, and nothing of it ever reaches the database.
//
// A file kept with a write-ahead log, and a server, hold one read transaction for the snapshot's life:
// other programs go on writing meanwhile and nobody waits for the run. A file kept with a rollback journal
// would keep every writer waiting as long as a reader's transaction lasts, so there each quantity reads in
// a short transaction of its own and the snapshot makes sure that no other program committed in between:
// should one have, the next quantity stops with fault 3197 rather than mix two states of the data.
//
// The session holds no transaction when the snapshot begins (fault 3219), and commits nothing while it
// lives: whatever a run changes in the database is committed before.
class Snapshot
{
public:
    Snapshot(const Database& session, std::string_view table);
    ~Snapshot();
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    // The session the snapshot reads.
    Database session() const { return Database(m_connection); }

    // Fills the working copy afresh from the snapshot: the table's row at `bookmark` and every row whose
    // `column` equals `value`. Each quantity after it starts from the copy as filled here.
    void fill(std::int64_t bookmark, const std::string& column, const platform::Value& value);

    // One quantity's work, from its start to its end: whatever it writes is undone at its end. Its start is
    // fault 3197 when another program changed the data since the snapshot began, the fault that kept the
    // last quantity's end from undoing its work (a lost server), or fault 3219 when the database ended the
    // snapshot's transaction by itself (after a failure of the disk, say).
    class Quantity
    {
    public:
        explicit Quantity(Snapshot& snapshot) : m_snapshot(snapshot) { snapshot.beginQuantity(); }
        ~Quantity() { m_snapshot.endQuantity(); }
        Quantity(const Quantity&) = delete;
        Quantity& operator=(const Quantity&) = delete;

    private:
        Snapshot& m_snapshot;
    };

private:
    void beginQuantity();
    void endQuantity() noexcept;
    void checkHeld() const;
    void checkUnchanged() const;

    std::shared_ptr<Connection> m_connection;
    std::string m_table;          // the working copy's
    bool m_sliced = false;        // a transaction a quantity, each checked against the data's version
    std::int64_t m_version = 0;   // the data's version when the snapshot began (sliced)
    bool m_marked = false;        // the quantities' savepoint is in place (held)
    std::optional<platform::Fault> m_broken; // why the last quantity's end failed (a lost server, say)
};

} // namespace data
