// A connection to one namespace of the local repository. Each call reads the repository as it is
// at that moment, so instances put or deleted through it show in later enumerations.
#ifndef NVX4_PLATFORM_WBEMSERVICES_H
#define NVX4_PLATFORM_WBEMSERVICES_H

#include <wbemcli.h>

#include <memory>
#include <optional>
#include <string>

#include "../com/ComObject.h"
#include "WbemClassObject.h"
#include "nvx4/repository/ObjectPath.h"
#include "nvx4/repository/Snapshot.h"

namespace nvx4::platform {

class WbemServices : public ComObject<IWbemServices> {
  public:
    WbemServices(std::wstring ns, std::wstring server);

    HRESULT STDMETHODCALLTYPE GetObject(const BSTR strObjectPath, LONG lFlags, IWbemContext* pCtx,
                                        IWbemClassObject** ppObject,
                                        IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE PutInstance(IWbemClassObject* pInst, LONG lFlags, IWbemContext* pCtx,
                                          IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE DeleteInstance(const BSTR strObjectPath, LONG lFlags,
                                             IWbemContext* pCtx,
                                             IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE CreateInstanceEnum(const BSTR strFilter, LONG lFlags,
                                                 IWbemContext* pCtx,
                                                 IEnumWbemClassObject** ppEnum) override;
    HRESULT STDMETHODCALLTYPE ExecMethod(const BSTR strObjectPath, const BSTR strMethodName,
                                         LONG lFlags, IWbemContext* pCtx,
                                         IWbemClassObject* pInParams,
                                         IWbemClassObject** ppOutParams,
                                         IWbemCallResult** ppCallResult) override;

    // Namespaces, classes, queries and asynchronous calls are not part of this stand-in: each
    // refuses, with its out-pointers cleared.
    using Text = const BSTR;
    using Ctx = IWbemContext*;
    using Sink = IWbemObjectSink*;
    using Obj = IWbemClassObject*;
    using Enum = IEnumWbemClassObject**;
    using Call = IWbemCallResult**;
    // clang-format off
    HRESULT STDMETHODCALLTYPE OpenNamespace(Text, LONG, Ctx, IWbemServices** out, Call call) override { return refuse(out, call); }
    HRESULT STDMETHODCALLTYPE CancelAsyncCall(Sink) override { return refuse(); }
    HRESULT STDMETHODCALLTYPE QueryObjectSink(LONG, IWbemObjectSink** out) override { return refuse(out); }
    HRESULT STDMETHODCALLTYPE GetObjectAsync(Text, LONG, Ctx, Sink) override { return refuse(); }
    HRESULT STDMETHODCALLTYPE PutClass(Obj, LONG, Ctx, Call call) override { return refuse(call); }
    HRESULT STDMETHODCALLTYPE PutClassAsync(Obj, LONG, Ctx, Sink) override { return refuse(); }
    HRESULT STDMETHODCALLTYPE DeleteClass(Text, LONG, Ctx, Call call) override { return refuse(call); }
    HRESULT STDMETHODCALLTYPE DeleteClassAsync(Text, LONG, Ctx, Sink) override { return refuse(); }
    HRESULT STDMETHODCALLTYPE CreateClassEnum(Text, LONG, Ctx, Enum out) override { return refuse(out); }
    HRESULT STDMETHODCALLTYPE CreateClassEnumAsync(Text, LONG, Ctx, Sink) override { return refuse(); }
    HRESULT STDMETHODCALLTYPE PutInstanceAsync(Obj, LONG, Ctx, Sink) override { return refuse(); }
    HRESULT STDMETHODCALLTYPE DeleteInstanceAsync(Text, LONG, Ctx, Sink) override { return refuse(); }
    HRESULT STDMETHODCALLTYPE CreateInstanceEnumAsync(Text, LONG, Ctx, Sink) override { return refuse(); }
    HRESULT STDMETHODCALLTYPE ExecQuery(Text, Text, LONG, Ctx, Enum out) override { return refuse(out); }
    HRESULT STDMETHODCALLTYPE ExecQueryAsync(Text, Text, LONG, Ctx, Sink) override { return refuse(); }
    HRESULT STDMETHODCALLTYPE ExecNotificationQuery(Text, Text, LONG, Ctx, Enum out) override { return refuse(out); }
    HRESULT STDMETHODCALLTYPE ExecNotificationQueryAsync(Text, Text, LONG, Ctx, Sink) override { return refuse(); }
    HRESULT STDMETHODCALLTYPE ExecMethodAsync(Text, Text, LONG, Ctx, Obj, Sink) override { return refuse(); }
    // clang-format on

  private:
    template <typename... Out>
    static HRESULT refuse(Out*... out) {
        ((out != nullptr ? void(*out = nullptr) : void()), ...);
        return WBEM_E_NOT_SUPPORTED;
    }

    // The repository now, and this namespace in it.
    HRESULT current(std::shared_ptr<const repository::Snapshot>& snapshot,
                    const repository::Namespace*& ns) const;
    struct Located {
        std::shared_ptr<const repository::Snapshot> snapshot;
        const repository::Namespace* ns = nullptr;
        std::optional<repository::ObjectPath> path;
    };
    // The repository now, this namespace in it and an object path parsed.
    HRESULT locate(const BSTR objectPath, Located& found) const;
    HRESULT runMethod(const repository::ClassDef& cls, const repository::MethodDef& method,
                      const std::wstring& path, IWbemClassObject* in, IWbemClassObject** out) const;

    WbemClassObject::OriginPtr origin_;
};

}  // namespace nvx4::platform

#endif
