#include "database/COleStreamFile.h"

#include "database/DatasetErrors.h"

using tvane::StorageException;

void COleStreamFile::Fail(const StorageException& e) const {
    dataset_errors::ThrowStreamFailure(e.Status(), m_name);
}

void COleStreamFile::OpenStream(tvane::Storage& storage, const std::string& name,
                                tvane::StorageMode mode) {
    Abort();
    m_name = name;
    try {
        m_stream = storage.OpenStream(name, mode);
    } catch (const StorageException& e) {
        Fail(e);
    }
}

void COleStreamFile::CreateStream(tvane::Storage& storage, const std::string& name,
                                  tvane::StorageMode mode) {
    Abort();
    m_name = name;
    try {
        m_stream = storage.CreateStream(name, mode);
    } catch (const StorageException& e) {
        Fail(e);
    }
}

void COleStreamFile::Attach(tvane::Stream stream, const std::string& name) {
    Abort();
    m_name = name;
    m_stream = std::move(stream);
}

std::size_t COleStreamFile::Read(void* buffer, std::size_t count) {
    try {
        return m_stream.Read(buffer, count);
    } catch (const StorageException& e) {
        Fail(e);
    }
}

void COleStreamFile::Write(const void* data, std::size_t count) {
    try {
        m_stream.Write(data, count);
    } catch (const StorageException& e) {
        Fail(e);
    }
}

std::uint64_t COleStreamFile::Seek(std::int64_t offset, int origin) {
    try {
        return m_stream.Seek(offset, origin);
    } catch (const StorageException& e) {
        Fail(e);
    }
}

std::uint64_t COleStreamFile::GetLength() const {
    try {
        return m_stream.Size();
    } catch (const StorageException& e) {
        Fail(e);
    }
}

void COleStreamFile::SetLength(std::uint64_t length) {
    try {
        m_stream.SetSize(length);
    } catch (const StorageException& e) {
        Fail(e);
    }
}

void COleStreamFile::Flush() {
    try {
        m_stream.Commit();
    } catch (const StorageException& e) {
        Fail(e);
    }
}

void COleStreamFile::Close() {
    if (!m_stream.IsOpen())
        return;
    try {
        m_stream.Close();
    } catch (const StorageException& e) {
        Fail(e);
    }
}

void COleStreamFile::Abort() noexcept {
    try {
        if (m_stream.IsOpen())
            m_stream.Close();
    } catch (...) {
        // the handle is released all the same
    }
}
