#include "data/Snapshot.h"

#include "data/Connection.h"
#include "data/JetErrors.h"
#include "platform/Fault.h"

namespace data {

namespace {

// The point every quantity's writes are undone back to.
constexpr const char* QuantityStart = "pricebook_quantity";

} // namespace

Snapshot::Snapshot(const Database& session, std::string_view table) : m_connection(session.m_connection)
{
    if (!m_connection)
        throw platform::Fault(ObjectInvalid, "Object invalid or no longer set: the database is closed.");
    if (m_connection->inTransaction())
        throw platform::Fault(InvalidOperation, "Invalid operation: a transaction is already open on '" +
                                                    m_connection->path() + "'.");
    m_sliced = m_connection->readersHoldUpWriters();
    // The copy is made outside the snapshot's transaction: should the database end that transaction by
    // itself, the copy stays in the table's place, so no quantity can ever be written into the table.
    m_table = m_connection->createWorkingCopy(std::string(table));
    try {
        if (m_sliced)
            m_version = m_connection->dataVersion();
        else
            m_connection->begin();
    } catch (...) {
        m_connection->dropWorkingCopy(m_table);
        throw;
    }
    m_connection->startReadCache();
}

Snapshot::~Snapshot()
{
    m_connection->stopReadCache();
    m_connection->rollback();
    m_connection->dropWorkingCopy(m_table);
}

void Snapshot::checkHeld() const
{
    if (!m_connection->inTransaction())
        throw platform::Fault(InvalidOperation, "Invalid operation: the shop database ended the run's reading "
                                                "of '" + m_connection->path() + "' by itself.");
}

void Snapshot::checkUnchanged() const
{
    if (m_connection->dataVersion() != m_version)
        throw platform::Fault(DataChanged, "The shop's data was changed by another program while the list was "
                                           "being priced.");
}

void Snapshot::fill(std::int64_t bookmark, const std::string& column, const platform::Value& value)
{
    if (m_sliced) {
        m_connection->begin();
        try {
            checkUnchanged();
            m_connection->refillWorkingCopy(m_table, bookmark, column, value);
            m_connection->commit(); // the working copy's rows only: nothing of the database is written
        } catch (...) {
            m_connection->rollback();
            throw;
        }
        return;
    }
    checkHeld();
    if (m_marked) {
        m_connection->releaseSavepoint(QuantityStart);
        m_marked = false;
    }
    m_connection->refillWorkingCopy(m_table, bookmark, column, value);
    m_connection->savepoint(QuantityStart);
    m_marked = true;
}

void Snapshot::beginQuantity()
{
    if (m_broken)
        throw *m_broken;
    if (!m_sliced) {
        checkHeld();
        if (!m_marked)
            throw platform::Fault(InvalidOperation, "Invalid operation: the working copy of '" + m_table +
                                                        "' was not filled.");
        return;
    }
    m_connection->begin();
    try {
        checkUnchanged();
    } catch (...) {
        m_connection->rollback();
        throw;
    }
}

void Snapshot::endQuantity() noexcept
{
    if (m_sliced) {
        m_connection->rollback();
        return;
    }
    try {
        // Also when the transaction seems gone: a server that went away says so here.
        m_connection->rollbackToSavepoint(QuantityStart);
    } catch (const platform::Fault& fault) {
        m_broken = fault; // the next quantity's start says so
    } catch (...) {
        m_broken = platform::Fault(InvalidOperation, "Invalid operation: the run's work on '" + m_connection->path() +
                                                         "' could not be undone.");
    }
}

} // namespace data
