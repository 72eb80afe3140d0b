// A connection to one namespace of the local repository. Each call reads the repository as it is
// at that moment, so instances put or deleted through it show in later enumerations.
#ifndef NVX4_PLATFORM_WBEMSERVICES_H
#define NVX4_PLATFORM_WBEMSERVICES_H

#include <wbemcli.h>

#include <memory>
#include <string>

#include "../com/ComObject.h"
#include "WbemClassObject.h"
#include "nvx4/repository/Snapshot.h"

namespace nvx4::platform {

class WbemServices : public ComObject<IWbemServices> {
  public:
    WbemServices(std::wstring ns, std::wstring server);

    HRESULT STDMETHODCALLTYPE OpenNamespace(const BSTR strNamespace, LONG lFlags,
                                            IWbemContext* pCtx, IWbemServices** ppWorkingNamespace,
                                            IWbemCallResult** ppResult) override;
    HRESULT STDMETHODCALLTYPE CancelAsyncCall(IWbemObjectSink* pSink) override;
    HRESULT STDMETHODCALLTYPE QueryObjectSink(LONG lFlags,
                                              IWbemObjectSink** ppResponseHandler) override;
    HRESULT STDMETHODCALLTYPE GetObject(const BSTR strObjectPath, LONG lFlags, IWbemContext* pCtx,
                                        IWbemClassObject** ppObject,
                                        IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE GetObjectAsync(const BSTR strObjectPath, LONG lFlags,
                                             IWbemContext* pCtx,
                                             IWbemObjectSink* pResponseHandler) override;
    HRESULT STDMETHODCALLTYPE PutClass(IWbemClassObject* pObject, LONG lFlags, IWbemContext* pCtx,
                                       IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE PutClassAsync(IWbemClassObject* pObject, LONG lFlags,
                                            IWbemContext* pCtx,
                                            IWbemObjectSink* pResponseHandler) override;
    HRESULT STDMETHODCALLTYPE DeleteClass(const BSTR strClass, LONG lFlags, IWbemContext* pCtx,
                                          IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE DeleteClassAsync(const BSTR strClass, LONG lFlags, IWbemContext* pCtx,
                                               IWbemObjectSink* pResponseHandler) override;
    HRESULT STDMETHODCALLTYPE CreateClassEnum(const BSTR strSuperclass, LONG lFlags,
                                              IWbemContext* pCtx,
                                              IEnumWbemClassObject** ppEnum) override;
    HRESULT STDMETHODCALLTYPE CreateClassEnumAsync(const BSTR strSuperclass, LONG lFlags,
                                                   IWbemContext* pCtx,
                                                   IWbemObjectSink* pResponseHandler) override;
    HRESULT STDMETHODCALLTYPE PutInstance(IWbemClassObject* pInst, LONG lFlags, IWbemContext* pCtx,
                                          IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE PutInstanceAsync(IWbemClassObject* pInst, LONG lFlags,
                                               IWbemContext* pCtx,
                                               IWbemObjectSink* pResponseHandler) override;
    HRESULT STDMETHODCALLTYPE DeleteInstance(const BSTR strObjectPath, LONG lFlags,
                                             IWbemContext* pCtx,
                                             IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE DeleteInstanceAsync(const BSTR strObjectPath, LONG lFlags,
                                                  IWbemContext* pCtx,
                                                  IWbemObjectSink* pResponseHandler) override;
    HRESULT STDMETHODCALLTYPE CreateInstanceEnum(const BSTR strFilter, LONG lFlags,
                                                 IWbemContext* pCtx,
                                                 IEnumWbemClassObject** ppEnum) override;
    HRESULT STDMETHODCALLTYPE CreateInstanceEnumAsync(const BSTR strFilter, LONG lFlags,
                                                      IWbemContext* pCtx,
                                                      IWbemObjectSink* pResponseHandler) override;
    HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery,
                                        LONG lFlags, IWbemContext* pCtx,
                                        IEnumWbemClassObject** ppEnum) override;
    HRESULT STDMETHODCALLTYPE ExecQueryAsync(const BSTR strQueryLanguage, const BSTR strQuery,
                                             LONG lFlags, IWbemContext* pCtx,
                                             IWbemObjectSink* pResponseHandler) override;
    HRESULT STDMETHODCALLTYPE ExecNotificationQuery(const BSTR strQueryLanguage,
                                                    const BSTR strQuery, LONG lFlags,
                                                    IWbemContext* pCtx,
                                                    IEnumWbemClassObject** ppEnum) override;
    HRESULT STDMETHODCALLTYPE
    ExecNotificationQueryAsync(const BSTR strQueryLanguage, const BSTR strQuery, LONG lFlags,
                               IWbemContext* pCtx, IWbemObjectSink* pResponseHandler) override;
    HRESULT STDMETHODCALLTYPE ExecMethod(const BSTR strObjectPath, const BSTR strMethodName,
                                         LONG lFlags, IWbemContext* pCtx,
                                         IWbemClassObject* pInParams,
                                         IWbemClassObject** ppOutParams,
                                         IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE ExecMethodAsync(const BSTR strObjectPath, const BSTR strMethodName,
                                              LONG lFlags, IWbemContext* pCtx,
                                              IWbemClassObject* pInParams,
                                              IWbemObjectSink* pResponseHandler) override;

  private:
    // The repository now, and this namespace in it.
    HRESULT current(std::shared_ptr<const repository::Snapshot>& snapshot,
                    const repository::Namespace*& ns) const;
    HRESULT runMethod(const repository::ClassDef& cls, const repository::MethodDef& method,
                      const std::wstring& path, IWbemClassObject* in, IWbemClassObject** out) const;

    WbemClassObject::OriginPtr origin_;
};

}  // namespace nvx4::platform

#endif
