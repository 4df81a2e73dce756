// What the host's ADO objects share: the interface identifiers, reference
// counting, the empty automation side, and raising an error the way ADO
// providers do. Private to the library.
#pragma once

// windows.h first: adoint.h picks the ADO 6.1 declarations only when
// NTDDI_VERSION is known.
#include <windows.h>
#include <ole2.h>
#include <adoint.h>

#include <memory>
#include <span>
#include <string>

#include "recalc/ComSupport.h"

namespace hostado {

// Every ADO identifier differs from the others in its first field only.
constexpr GUID AdoGuid(unsigned long first)
{
    return {first, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
}

inline constexpr CLSID kRecordsetClass = AdoGuid(0x0535);

// ADO error numbers travel as HRESULTs of the control facility.
constexpr HRESULT AdoError(ErrorValueEnum error) { return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, error); }
// The provider's own codes for a bad statement and a missing table.
inline constexpr HRESULT kErrorsInCommand = static_cast<HRESULT>(0x80040E14);
inline constexpr HRESULT kNoSuchTable = static_cast<HRESULT>(0x80040E37);

// Leaves `text` with the thread's error object, tagged with the interface
// that failed, and returns `hr` for the caller to hand on.
HRESULT RaiseError(HRESULT hr, const std::string& text, REFIID iid);

std::size_t& LiveObjectCounter();

class TLogDatabase;
// The database behind an ActiveConnection argument, when it is a connection
// made by CreateConnection; `connection` then holds a reference on it.
std::shared_ptr<TLogDatabase> DatabaseOfConnection(const VARIANT& activeConnection, TComPtr<IUnknown>& connection);

// One ADO object: reference counting, QueryInterface over the identifiers
// it answers to, ISupportErrorInfo for them, and IDispatch without type
// information (the plug-in calls through the vtable).
template <typename Interface>
class TAdoObject : public Interface, public ISupportErrorInfo {
public:
    TAdoObject(const TAdoObject&) = delete;
    TAdoObject& operator=(const TAdoObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || Answers(iid)) {
            *object = static_cast<Interface*>(this);
        } else if (iid == IID_ISupportErrorInfo) {
            *object = static_cast<ISupportErrorInfo*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++References_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --References_;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override { return Answers(iid) ? S_OK : S_FALSE; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }

protected:
    TAdoObject() { ++LiveObjectCounter(); }
    virtual ~TAdoObject() { --LiveObjectCounter(); }

    // The interfaces served by `Interface`, the main one first.
    virtual std::span<const IID> Interfaces() const = 0;

    HRESULT Fail(HRESULT hr, const std::string& text) const { return RaiseError(hr, text, Interfaces().front()); }

private:
    bool Answers(REFIID iid) const
    {
        for (const IID& own : Interfaces())
            if (iid == own)
                return true;
        return false;
    }

    ULONG References_ = 1;
};

// The methods nobody calls on the host's objects.
#define HOSTADO_NOT_IMPLEMENTED(Method, ...) \
    HRESULT STDMETHODCALLTYPE Method(__VA_ARGS__) override { return E_NOTIMPL; }

}  // namespace hostado
