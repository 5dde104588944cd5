// The reader's objects: the root and its children made, named and filled, the loading batches
// and the references resolved once an object is read.
#include "frame/TReader.h"

#include <algorithm>
#include <cstring>

#include "frame/NameSpaceLock.h"
#include "frame/StreamClasses.h"
#include "frame/TComponent.h"
#include "frame/TDepthGuard.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace frame {

namespace {
thread_local std::vector<std::unique_ptr<std::vector<TComponent*>>> t_batches;
// The readers alive on this thread: a component destroyed while they read (a failed child, the
// children its parent took with it, an item a setter replaced) must vanish from their lists.
thread_local std::vector<TReader*> t_readers;

// A new component of `cls`, marked loading; classes that cannot make one count as unknown.
TComponent* CreateComponent(const TClassInfo* cls, TComponent* owner,
                            const std::string& className) {
    TObject* object = cls->create ? cls->create(owner) : nullptr;
    auto* component = As<TComponent>(object);
    if (!component) {
        delete object;
        throw rtl::EClassNotFound("Class %s not found", className);
    }
    component->SetStateFlag(csLoading, true);
    return component;
}

} // namespace

void BeginLoadingBatch() {
    t_batches.push_back(std::make_unique<std::vector<TComponent*>>());
}

void EndLoadingBatch(bool failed) {
    if (t_batches.empty())
        return;
    std::unique_ptr<std::vector<TComponent*>> batch = std::move(t_batches.back());
    t_batches.pop_back();
    if (!failed) {
        for (TComponent* c : *batch)
            c->AfterLoad();
    }
}

void ForgetDestroyedComponent(TComponent* component) {
    for (auto& batch : t_batches)
        std::erase(*batch, component);
    for (TReader* reader : t_readers)
        reader->Forget(component);
}

TReader::TReader(rtl::TStream& stream, size_t bufferSize) : m_stream(stream) {
    t_readers.push_back(this);
    if (bufferSize == 0 || bufferSize == kBufferSize) {
        m_buffer = m_inlineBuffer;
    } else {
        m_bigBuffer.resize(bufferSize);
        m_buffer = m_bigBuffer;
    }
}

TReader::~TReader() {
    std::erase(t_readers, this);
    if (m_end > m_pos) {
        try {
            m_stream.Seek(-static_cast<int64_t>(m_end - m_pos), rtl::TSeekOrigin::Current);
        } catch (...) {
        }
    }
}

// --- Buffer ---

void TReader::Refill() {
    size_t n = m_stream.Read(m_buffer.data(), m_buffer.size());
    if (n == 0)
        throw rtl::EReadError("Stream read error");
    m_pos = 0;
    m_end = n;
}

void TReader::Read(void* buffer, size_t count) {
    auto* out = static_cast<char*>(buffer);
    while (count > 0) {
        if (m_pos == m_end)
            Refill();
        size_t n = std::min(count, m_end - m_pos);
        std::memcpy(out, m_buffer.data() + m_pos, n);
        m_pos += n;
        out += n;
        count -= n;
    }
}

void TReader::SkipBytes(size_t count) {
    while (count > 0) {
        if (m_pos == m_end)
            Refill();
        size_t n = std::min(count, m_end - m_pos);
        m_pos += n;
        count -= n;
    }
}

// --- Objects ---

void TReader::ReadSignature() {
    char signature[4];
    Read(signature, 4);
    if (std::memcmp(signature, kFormSignature, 4) != 0)
        throw rtl::EReadError("Invalid stream format");
}

void TReader::ReadPrefix(int& flags, int& childPos) {
    flags = 0;
    childPos = 0;
    if ((NextValue() & 0xF0) == 0xF0) {
        flags = ReadByte() & 0x0F;
        if (flags & pfChildPos)
            childPos = ReadInteger();
    }
}

bool TReader::HandleError(const std::string& message) {
    bool handled = false;
    if (OnError)
        OnError(*this, message, handled);
    return handled;
}

void TReader::AddLoaded(TComponent* component, bool created) {
    if (created || std::find(m_loaded->begin(), m_loaded->end(), component) == m_loaded->end())
        m_loaded->push_back(component);
}

void TReader::CallAfterLoad(std::vector<TComponent*>& loaded) {
    for (TComponent* c : loaded)
        c->AfterLoad();
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
    ReadSignature();
    TWriteLockGuard nameSpace(GlobalNameSpace());
    TComponent* result = root;
    bool created = false;
    // A failed read leaves no half-read root behind: one made here goes (its subtree leaves
    // every reader's lists as it goes), one given keeps no reading state or pending references.
    rtl::ScopeExit abandon([&] {
        if (result) {
            RemoveGlobalFixupsOf(result);
            result->SetStateFlag(csReading, false);
        }
        if (created)
            delete result;
        m_root = nullptr;
        m_owner = nullptr;
    });
    int flags, position;
    ReadPrefix(flags, position);
    std::string className = ReadStr();
    if (root) {
        std::string name = ReadStr();
        if (!root->HasState(csDesigning)) {
            std::string unique = name;
            for (int i = 1;; ++i) {
                TComponent* other = FindGlobalRoot(unique);
                if (!other || other == root)
                    break;
                unique = rtl::Format("%s_%d", name, i);
            }
            root->SetName(unique);
        }
    } else {
        result = CreateComponent(GetStreamClass(className), nullptr, className);
        created = true;
        result->SetName(ReadStr());
    }
    m_root = result;
    m_owner = result;
    m_loaded = t_batches.empty() ? &m_ownLoaded : t_batches.back().get();
    // A form's resources are read one after another into the same root within one batch:
    // the root, like its inherited components, is loaded once.
    AddLoaded(result, created);
    result->SetStateFlag(csLoading, true);
    result->SetStateFlag(csReading, true);
    result->ReadComponentState(*this);
    result->SetStateFlag(csReading, false);
    if (m_loaded == &m_ownLoaded)
        CallAfterLoad(m_ownLoaded);
    ResolveGlobalFixups();
    abandon.Release();
    return result;
}

const TClassInfo* TReader::FindComponentClass(const std::string& className) {
    const TClassInfo* cls = m_root ? m_root->ClassType()->FindFieldClass(className) : nullptr;
    if (!cls)
        cls = FindStreamClass(className);
    if (!cls)
        throw rtl::EClassNotFound("Class %s not found", className);
    return cls;
}

TComponent* TReader::ReadComponent(TComponent* component) {
    TDepthGuard depth(*this);
    TComponent* savedParent = m_parent;
    TComponent* result = component;
    bool created = false;
    if (!m_loaded)
        m_loaded = &m_ownLoaded;
    try {
        int flags, position;
        ReadPrefix(flags, position);
        std::string className = ReadStr();
        std::string name = ReadStr();
        if (!result) {
            if (flags & pfInherited) {
                const TClassInfo* cls = FindComponentClass(className);
                result = m_root ? m_root->FindComponent(name) : nullptr;
                if (!result && OnAncestorNotFound)
                    OnAncestorNotFound(*this, name, cls, result);
                if (!result)
                    throw rtl::EReadError("Ancestor for '%s' not found", name);
                m_parent = result->GetParentComponent();
            } else {
                result = CreateComponent(FindComponentClass(className), m_owner, className);
                created = true;
                result->SetParentComponent(m_parent);
                if (OnSetName)
                    OnSetName(*this, result, name);
                result->SetName(name);
            }
        }
        result->SetStateFlag(csReading, true);
        result->ReadComponentState(*this);
        result->SetStateFlag(csReading, false);
        if ((flags & pfChildPos) && m_parent)
            m_parent->SetChildPosition(result, position);
        AddLoaded(result, created);
    } catch (...) {
        if (created) {
            // Whatever goes with it — owned components and the child controls it destroys,
            // whoever owns them — leaves the loaded list and the pending references as each is
            // destroyed: no AfterLoad, no reference resolution, nothing read after freeing.
            delete result;
        } else if (result) {
            result->SetStateFlag(csReading, false);
        }
        m_parent = savedParent;
        std::exception_ptr error = std::current_exception();
        try {
            std::rethrow_exception(error);
        } catch (const rtl::Exception& e) {
            if (OnError) {
                bool skipped = true;
                try {
                    SkipComponent(false);
                } catch (const rtl::Exception&) {
                    skipped = false; // the stream is broken too: report the first failure
                }
                if (skipped && HandleError(e.Message()))
                    return nullptr;
            }
        } catch (...) {
        }
        std::rethrow_exception(error);
    }
    m_parent = savedParent;
    return result;
}

void TReader::ReadData(TComponent* instance) {
    TDepthGuard depth(*this);
    bool outermost = !m_fixups;
    if (outermost)
        m_fixups = std::make_unique<std::vector<TPropFixup>>();
    // The references met in the outermost object are resolved once all of it is read.
    rtl::ScopeExit dropFixups([this, outermost] {
        if (outermost)
            m_fixups.reset();
    });
    ReadRecords(instance);
    if (outermost)
        ResolveLocalFixups();
}

void TReader::ReadRecords(TComponent* instance) {
    rtl::ValueRestore reading(m_reading, instance);
    rtl::ValueRestore parent(m_parent);
    rtl::ValueRestore owner(m_owner);
    while (!EndOfList())
        ReadProperty(instance);
    ReadByte();
    m_parent = instance->ChildParentForReading();
    m_owner = instance->ChildOwnerForReading();
    if (!m_owner)
        m_owner = m_root;
    while (!EndOfList())
        ReadComponent(nullptr);
    ReadByte();
}

void TReader::ResolveLocalFixups() {
    std::vector<TPropFixup> fixups = std::move(*m_fixups);
    m_fixups->clear();
    for (TPropFixup& f : fixups) {
        std::string name = f.name;
        if (OnReferenceName)
            OnReferenceName(*this, name);
        f.prop->set(*f.instance, static_cast<TObject*>(FindReferencedComponent(m_root, name)));
    }
}

void TReader::Forget(TComponent* component) {
    std::erase(m_ownLoaded, component);
    if (m_fixups)
        std::erase_if(*m_fixups, [&](const TPropFixup& f) {
            return f.component == component || f.instance == component;
        });
    for (TComponent** kept : {&m_root, &m_owner, &m_parent, &m_reading}) {
        if (*kept == component)
            *kept = nullptr;
    }
}

void TReader::DropFixupsOf(TPersistent* instance) {
    if (m_fixups)
        std::erase_if(*m_fixups, [&](const TPropFixup& f) { return f.instance == instance; });
}

} // namespace frame
