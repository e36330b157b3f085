// The directory of a compound file: every storage keeps its children in a
// red-black tree ordered by CompareNames, linked through the entries' left and
// right sibling ids, with its root in the storage's child id.
#include <algorithm>

#include "platform/storage/CompoundFile.h"
#include "platform/storage/StorageNames.h"

namespace tvane::storage_detail {

void CompoundFile::LoadTrees() {
    struct Item {
        std::uint32_t id;
        std::uint32_t parent;
        int blacks;
    };
    std::vector<std::uint8_t> seen(m_entries.size(), 0);
    seen[0] = 1;
    std::vector<std::uint32_t> storages{0};
    while (!storages.empty()) {
        std::uint32_t s = storages.back();
        storages.pop_back();
        std::vector<std::uint32_t> nodes;
        bool valid = true;
        int leafBlacks = -1;
        std::vector<Item> stack{{m_entries[s].child, kNoStream, 0}};
        while (!stack.empty()) {
            Item item = stack.back();
            stack.pop_back();
            if (item.id == kNoStream) {
                if (leafBlacks < 0) {
                    leafBlacks = item.blacks;
                } else if (leafBlacks != item.blacks) {
                    valid = false;
                }
                continue;
            }
            if (item.id >= m_entries.size()) {
                Corrupt("directory entry id out of range");
            }
            if (seen[item.id]) {
                Corrupt("directory tree loops");
            }
            seen[item.id] = 1;
            DirEntry& e = m_entries[item.id];
            if (e.type != STGTY_STORAGE && e.type != STGTY_STREAM) {
                Corrupt("bad directory entry type");
            }
            if (e.name.empty()) {
                Corrupt("directory entry without a name");
            }
            e.parent = item.parent;
            e.owner = s;
            if (e.color == kRed &&
                (item.parent == kNoStream || m_entries[item.parent].color == kRed)) {
                valid = false;
            }
            int blacks = item.blacks + (e.color == kBlack ? 1 : 0);
            stack.push_back({e.left, item.id, blacks});
            stack.push_back({e.right, item.id, blacks});
            nodes.push_back(item.id);
            if (e.type == STGTY_STORAGE) {
                storages.push_back(item.id);
            } else {
                e.child = kNoStream;
            }
        }
        // In order, the names must rise strictly.
        std::vector<std::uint32_t> path;
        std::uint32_t x = m_entries[s].child;
        std::uint32_t prev = kNoStream;
        while (x != kNoStream || !path.empty()) {
            while (x != kNoStream) {
                path.push_back(x);
                x = m_entries[x].left;
            }
            x = path.back();
            path.pop_back();
            if (prev != kNoStream) {
                int c = CompareNames(m_entries[prev].name, m_entries[x].name);
                if (c == 0) {
                    Corrupt("two elements of one name");
                }
                if (c > 0) {
                    valid = false;
                }
            }
            prev = x;
            x = m_entries[x].right;
        }
        if (!valid) {
            // Another writer's tree that is not a valid red-black tree: rebuild it so
            // lookups and later changes can rely on the order and the balance.
            std::sort(nodes.begin(), nodes.end(), [this](std::uint32_t a, std::uint32_t b) {
                return CompareNames(m_entries[a].name, m_entries[b].name) < 0;
            });
            RebuildTree(s, nodes);
        }
    }
    // Entries that no storage reaches are free.
    for (std::uint32_t i = 1; i < m_entries.size(); ++i) {
        if (!seen[i]) {
            m_entries[i] = DirEntry{};
        }
    }
}

void CompoundFile::RebuildTree(std::uint32_t storage, std::vector<std::uint32_t> sorted) {
    int depth = 0;
    while ((std::size_t{2} << depth) <= sorted.size()) {
        ++depth;
    }
    bool perfect = sorted.size() + 1 == (std::size_t{2} << depth);
    TreeRoot(storage) =
        BuildBalanced(sorted, 0, sorted.size(), kNoStream, storage, 0, perfect ? -1 : depth);
    MarkEntry(storage);
}

std::uint32_t CompoundFile::BuildBalanced(const std::vector<std::uint32_t>& sorted, std::size_t lo,
                                          std::size_t hi, std::uint32_t parent,
                                          std::uint32_t storage, int depth, int redDepth) {
    if (lo >= hi) {
        return kNoStream;
    }
    std::size_t mid = (lo + hi) / 2;
    std::uint32_t id = sorted[mid];
    DirEntry& e = m_entries[id];
    e.parent = parent;
    e.owner = storage;
    e.color = depth == redDepth ? kRed : kBlack;
    e.left = BuildBalanced(sorted, lo, mid, id, storage, depth + 1, redDepth);
    m_entries[id].right = BuildBalanced(sorted, mid + 1, hi, id, storage, depth + 1, redDepth);
    MarkEntry(id);
    return id;
}

std::uint32_t CompoundFile::Find(std::uint32_t storage, const std::u16string& name) const {
    std::uint32_t x = m_entries[storage].child;
    while (x != kNoStream) {
        int c = CompareNames(name, m_entries[x].name);
        if (c == 0) {
            return x;
        }
        x = c < 0 ? m_entries[x].left : m_entries[x].right;
    }
    return kNoStream;
}

std::vector<std::uint32_t> CompoundFile::Children(std::uint32_t storage) const {
    std::vector<std::uint32_t> out;
    std::vector<std::uint32_t> path;
    std::uint32_t x = m_entries[storage].child;
    while (x != kNoStream || !path.empty()) {
        while (x != kNoStream) {
            path.push_back(x);
            x = m_entries[x].left;
        }
        x = path.back();
        path.pop_back();
        out.push_back(x);
        x = m_entries[x].right;
    }
    return out;
}

bool CompoundFile::HoldsOpen(std::uint32_t entry) const {
    for (std::uint32_t open : m_open) {
        for (std::uint32_t x = open; x != kNoStream && x != 0; x = m_entries[x].owner) {
            if (x == entry) {
                return true;
            }
        }
    }
    return false;
}

void CompoundFile::MarkClosed(std::uint32_t entry) {
    m_open.erase(entry);
    m_chains.erase(entry);
}

void CompoundFile::SetClass(std::uint32_t id, const StorageClassId& clsid) {
    m_entries[id].clsid = clsid;
    MarkEntry(id);
}

std::uint32_t CompoundFile::NewEntry() {
    for (std::uint32_t i = m_entryHint; i < m_entries.size(); ++i) {
        if (m_entries[i].type == kTypeEmpty) {
            m_entryHint = i + 1;
            return i;
        }
    }
    std::uint32_t last = m_dirSectors.back();
    std::uint32_t s = AllocSector(last);
    SetFat(last, s);
    m_dirSectors.push_back(s);
    std::uint32_t first = static_cast<std::uint32_t>(m_entries.size());
    m_entries.resize(m_entries.size() + kEntriesPerSector);
    for (std::uint32_t k = 0; k < kEntriesPerSector; ++k) {
        MarkEntry(first + k);
    }
    m_entryHint = first + 1;
    return first;
}

std::uint32_t CompoundFile::AddEntry(std::uint32_t storage, const std::u16string& name,
                                     std::uint8_t type) {
    std::uint32_t id = NewEntry();
    DirEntry& e = m_entries[id];
    e = DirEntry{};
    e.name = name;
    e.type = type;
    e.owner = storage;
    InsertNode(storage, id);
    return id;
}

void CompoundFile::Destroy(std::uint32_t entry) {
    RemoveNode(m_entries[entry].owner, entry);
    std::vector<std::uint32_t> pending{entry};
    while (!pending.empty()) {
        std::uint32_t id = pending.back();
        pending.pop_back();
        if (id == kNoStream) {
            continue;
        }
        DirEntry& e = m_entries[id];
        if (e.type == STGTY_STREAM) {
            try {
                SetChainLength(id, GetChain(id), 0);
            } catch (const StorageException&) {
                // A damaged chain cannot be freed safely; its sectors stay allocated.
            }
            m_chains.erase(id);
        } else {
            pending.push_back(e.child);
        }
        if (id != entry) {
            pending.push_back(e.left);
            pending.push_back(e.right);
        }
        m_entries[id] = DirEntry{};
        MarkEntry(id);
        m_entryHint = std::min(m_entryHint, id);
    }
}

// ---------------------------------------------------------------------------
// Red-black tree operations (with the in-memory parent links).

void CompoundFile::RotateLeft(std::uint32_t storage, std::uint32_t x) {
    std::uint32_t y = m_entries[x].right;
    std::uint32_t yl = m_entries[y].left;
    m_entries[x].right = yl;
    if (yl != kNoStream) {
        m_entries[yl].parent = x;
    }
    std::uint32_t p = m_entries[x].parent;
    m_entries[y].parent = p;
    if (p == kNoStream) {
        TreeRoot(storage) = y;
        MarkEntry(storage);
    } else if (m_entries[p].left == x) {
        m_entries[p].left = y;
        MarkEntry(p);
    } else {
        m_entries[p].right = y;
        MarkEntry(p);
    }
    m_entries[y].left = x;
    m_entries[x].parent = y;
    MarkEntry(x);
    MarkEntry(y);
}

void CompoundFile::RotateRight(std::uint32_t storage, std::uint32_t x) {
    std::uint32_t y = m_entries[x].left;
    std::uint32_t yr = m_entries[y].right;
    m_entries[x].left = yr;
    if (yr != kNoStream) {
        m_entries[yr].parent = x;
    }
    std::uint32_t p = m_entries[x].parent;
    m_entries[y].parent = p;
    if (p == kNoStream) {
        TreeRoot(storage) = y;
        MarkEntry(storage);
    } else if (m_entries[p].right == x) {
        m_entries[p].right = y;
        MarkEntry(p);
    } else {
        m_entries[p].left = y;
        MarkEntry(p);
    }
    m_entries[y].right = x;
    m_entries[x].parent = y;
    MarkEntry(x);
    MarkEntry(y);
}

void CompoundFile::InsertNode(std::uint32_t storage, std::uint32_t z) {
    std::uint32_t y = kNoStream;
    std::uint32_t x = TreeRoot(storage);
    int c = 0;
    while (x != kNoStream) {
        y = x;
        c = CompareNames(m_entries[z].name, m_entries[x].name);
        x = c < 0 ? m_entries[x].left : m_entries[x].right;
    }
    m_entries[z].parent = y;
    m_entries[z].left = kNoStream;
    m_entries[z].right = kNoStream;
    m_entries[z].color = kRed;
    MarkEntry(z);
    if (y == kNoStream) {
        TreeRoot(storage) = z;
        MarkEntry(storage);
    } else {
        (c < 0 ? m_entries[y].left : m_entries[y].right) = z;
        MarkEntry(y);
    }
    while (z != TreeRoot(storage) && ColorOf(m_entries[z].parent) == kRed) {
        std::uint32_t p = m_entries[z].parent;
        std::uint32_t g = m_entries[p].parent;
        if (p == m_entries[g].left) {
            std::uint32_t u = m_entries[g].right;
            if (ColorOf(u) == kRed) {
                SetColor(p, kBlack);
                SetColor(u, kBlack);
                SetColor(g, kRed);
                z = g;
            } else {
                if (z == m_entries[p].right) {
                    z = p;
                    RotateLeft(storage, z);
                    p = m_entries[z].parent;
                }
                SetColor(p, kBlack);
                SetColor(g, kRed);
                RotateRight(storage, g);
            }
        } else {
            std::uint32_t u = m_entries[g].left;
            if (ColorOf(u) == kRed) {
                SetColor(p, kBlack);
                SetColor(u, kBlack);
                SetColor(g, kRed);
                z = g;
            } else {
                if (z == m_entries[p].left) {
                    z = p;
                    RotateRight(storage, z);
                    p = m_entries[z].parent;
                }
                SetColor(p, kBlack);
                SetColor(g, kRed);
                RotateLeft(storage, g);
            }
        }
    }
    SetColor(TreeRoot(storage), kBlack);
}

void CompoundFile::ReplaceNode(std::uint32_t storage, std::uint32_t u, std::uint32_t v) {
    std::uint32_t p = m_entries[u].parent;
    if (p == kNoStream) {
        TreeRoot(storage) = v;
        MarkEntry(storage);
    } else if (m_entries[p].left == u) {
        m_entries[p].left = v;
        MarkEntry(p);
    } else {
        m_entries[p].right = v;
        MarkEntry(p);
    }
    if (v != kNoStream) {
        m_entries[v].parent = p;
        MarkEntry(v);
    }
}

void CompoundFile::RemoveNode(std::uint32_t storage, std::uint32_t z) {
    std::uint32_t y = z;
    std::uint8_t removedColor = m_entries[y].color;
    std::uint32_t x;
    std::uint32_t xParent;
    if (m_entries[z].left == kNoStream) {
        x = m_entries[z].right;
        xParent = m_entries[z].parent;
        ReplaceNode(storage, z, x);
    } else if (m_entries[z].right == kNoStream) {
        x = m_entries[z].left;
        xParent = m_entries[z].parent;
        ReplaceNode(storage, z, x);
    } else {
        y = m_entries[z].right;
        while (m_entries[y].left != kNoStream) {
            y = m_entries[y].left;
        }
        removedColor = m_entries[y].color;
        x = m_entries[y].right;
        if (m_entries[y].parent == z) {
            xParent = y;
        } else {
            xParent = m_entries[y].parent;
            ReplaceNode(storage, y, x);
            m_entries[y].right = m_entries[z].right;
            m_entries[m_entries[y].right].parent = y;
        }
        ReplaceNode(storage, z, y);
        m_entries[y].left = m_entries[z].left;
        m_entries[m_entries[y].left].parent = y;
        m_entries[y].color = m_entries[z].color;
        MarkEntry(y);
    }
    if (removedColor == kBlack) {
        while (x != TreeRoot(storage) && ColorOf(x) == kBlack && xParent != kNoStream) {
            if (x == m_entries[xParent].left) {
                std::uint32_t w = m_entries[xParent].right;
                if (w == kNoStream) {
                    break;
                }
                if (ColorOf(w) == kRed) {
                    SetColor(w, kBlack);
                    SetColor(xParent, kRed);
                    RotateLeft(storage, xParent);
                    w = m_entries[xParent].right;
                }
                if (ColorOf(m_entries[w].left) == kBlack && ColorOf(m_entries[w].right) == kBlack) {
                    SetColor(w, kRed);
                    x = xParent;
                    xParent = m_entries[x].parent;
                } else {
                    if (ColorOf(m_entries[w].right) == kBlack) {
                        SetColor(m_entries[w].left, kBlack);
                        SetColor(w, kRed);
                        RotateRight(storage, w);
                        w = m_entries[xParent].right;
                    }
                    SetColor(w, m_entries[xParent].color);
                    SetColor(xParent, kBlack);
                    SetColor(m_entries[w].right, kBlack);
                    RotateLeft(storage, xParent);
                    x = TreeRoot(storage);
                    xParent = kNoStream;
                }
            } else {
                std::uint32_t w = m_entries[xParent].left;
                if (w == kNoStream) {
                    break;
                }
                if (ColorOf(w) == kRed) {
                    SetColor(w, kBlack);
                    SetColor(xParent, kRed);
                    RotateRight(storage, xParent);
                    w = m_entries[xParent].left;
                }
                if (ColorOf(m_entries[w].left) == kBlack && ColorOf(m_entries[w].right) == kBlack) {
                    SetColor(w, kRed);
                    x = xParent;
                    xParent = m_entries[x].parent;
                } else {
                    if (ColorOf(m_entries[w].left) == kBlack) {
                        SetColor(m_entries[w].right, kBlack);
                        SetColor(w, kRed);
                        RotateLeft(storage, w);
                        w = m_entries[xParent].left;
                    }
                    SetColor(w, m_entries[xParent].color);
                    SetColor(xParent, kBlack);
                    SetColor(m_entries[w].left, kBlack);
                    RotateRight(storage, xParent);
                    x = TreeRoot(storage);
                    xParent = kNoStream;
                }
            }
        }
        if (x != kNoStream) {
            SetColor(x, kBlack);
        }
    }
    m_entries[z].left = m_entries[z].right = m_entries[z].parent = kNoStream;
}

} // namespace tvane::storage_detail
