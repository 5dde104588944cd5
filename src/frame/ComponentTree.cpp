#include "frame/ComponentTree.h"

#include "frame/FormText.h"
#include "frame/IdentMaps.h"
#include "frame/TCollection.h"
#include "frame/TComponent.h"

namespace frame {

namespace {

constexpr int kMaxObjectDepth = 16;

std::string MethodName(const TMethod& m, TComponent* root) {
    for (const TClassInfo* c = root ? root->ClassType() : nullptr; c; c = c->parent) {
        for (const TMethodInfo& info : c->methods) {
            if (info.code == m.code && m.data == root)
                return info.name;
        }
    }
    return "(handler)";
}

std::string VariantText(const TVariant& v) {
    switch (v.vtype) {
    case varEmpty:
        return "Unassigned";
    case varNull:
        return "Null";
    case varSingle:
    case varDouble:
    case varDate:
        return RealText(v.realValue);
    case varCurrency:
        return std::to_string(v.intValue) + " (ten-thousandths)";
    case varBoolean:
        return v.intValue ? "True" : "False";
    case varOleStr:
    case varString:
        return QuoteString(v.textValue);
    default:
        return std::to_string(v.intValue);
    }
}

void DescribeProperties(std::string& out, TPersistent* object, const std::string& prefix,
                        const std::string& indent, TComponent* root, int depth) {
    if (depth > kMaxObjectDepth)
        return;
    for (const TPropInfo* prop : object->ClassType()->AllProperties()) {
        if (!prop->IsStored(*object))
            continue;
        const TTypeInfo* type = prop->type;
        std::string name = prefix + prop->name;
        if (type->kind == TTypeKind::Class) {
            TObject* value = std::get<TObject*>(prop->get(*object));
            if (auto* component = As<TComponent>(value)) {
                out += indent + name + " = " +
                       (component == root ? std::string("Owner") : component->Name()) + "\n";
            } else if (auto* collection = As<TCollection>(value)) {
                for (int i = 0; i < collection->Count(); ++i)
                    DescribeProperties(out, collection->Items(i),
                                       name + "[" + std::to_string(i) + "].", indent, root,
                                       depth + 1);
            } else if (auto* persistent = As<TPersistent>(value)) {
                DescribeProperties(out, persistent, name + ".", indent, root, depth + 1);
            }
            continue;
        }
        if (!prop->set || prop->IsDefault(*object))
            continue;
        TValue value = prop->get(*object);
        std::string text;
        switch (type->kind) {
        case TTypeKind::Integer: {
            auto v = std::get<int64_t>(value);
            if (!IntToIdentFor(type, static_cast<int32_t>(v), text))
                text = std::to_string(v);
            break;
        }
        case TTypeKind::Char:
            text = QuoteString(std::string(1, static_cast<char>(std::get<int64_t>(value))));
            break;
        case TTypeKind::Enumeration: {
            auto v = std::get<int64_t>(value);
            text = v >= 0 && v < static_cast<int64_t>(type->names.size())
                       ? type->names[static_cast<size_t>(v)]
                       : std::to_string(v);
            break;
        }
        case TTypeKind::Float:
            text = RealText(std::get<long double>(value));
            break;
        case TTypeKind::String:
            text = QuoteString(std::get<std::string>(value));
            break;
        case TTypeKind::Set: {
            auto mask = static_cast<uint32_t>(std::get<int64_t>(value));
            text = "[";
            for (size_t i = 0; i < 32; ++i) {
                if (!(mask & (uint32_t{1} << i)))
                    continue;
                if (text.size() > 1)
                    text += ", ";
                const TTypeInfo* e = type->elementType;
                text += e && i < e->names.size() ? e->names[i] : std::to_string(i);
            }
            text += "]";
            break;
        }
        case TTypeKind::Method:
            text = MethodName(std::get<TMethod>(value), root);
            break;
        case TTypeKind::Variant:
            text = VariantText(std::get<TVariant>(value));
            break;
        case TTypeKind::Class:
            break;
        }
        out += indent + name + " = " + text + "\n";
    }
}

void DescribeComponent(std::string& out, TComponent* component, TComponent* root,
                       const std::string& indent) {
    out +=
        indent + component->ClassName() + " " +
        (component->Name().empty() ? std::string("(unnamed)") : component->Name()) + " owner=" +
        (component->Owner() ? (component->Owner()->Name().empty() ? component->Owner()->ClassName()
                                                                  : component->Owner()->Name())
                            : std::string("nil")) +
        "\n";
    DescribeProperties(out, component, "", indent + "  ", root, 0);
    for (int i = 0; i < component->ComponentCount(); ++i)
        DescribeComponent(out, component->Components(i), root, indent + "  ");
}

} // namespace

std::string DescribeComponentTree(TComponent* root) {
    std::string out;
    DescribeComponent(out, root, root, "");
    return out;
}

} // namespace frame
