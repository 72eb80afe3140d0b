// Repository values to and from VARIANTs, by the management service's CIM-type rules:
// sint8, sint16 and char16 as VT_I2; uint8 as VT_UI1; uint16, sint32 and uint32 as VT_I4 (a
// uint32 above 2^31-1 wraps to a negative VT_I4); sint64, uint64, string and datetime as VT_BSTR
// (64-bit integers in decimal); real32 as VT_R4; real64 as VT_R8; boolean as VT_BOOL
// (VARIANT_TRUE is -1); no value as VT_NULL; arrays as VT_ARRAY of the element type.
#ifndef NVX4_PLATFORM_VARIANTVALUES_H
#define NVX4_PLATFORM_VARIANTVALUES_H

#include <wbemcli.h>

#include "nvx4/repository/CimType.h"
#include "nvx4/repository/Value.h"

namespace nvx4::platform {

class VariantValues {
  public:
    // Writes the VARIANT over *out without clearing what was there.
    static HRESULT toVariant(const repository::Value& value, repository::ValueType type,
                             VARIANT* out);
    // The value a VARIANT gives a property of `type`: VT_NULL or VT_EMPTY for none, the VARIANT
    // type the service delivers for it, or another integer, real or text type that holds a value
    // of the property's type. WBEM_E_TYPE_MISMATCH otherwise.
    static HRESULT fromVariant(const VARIANT& in, repository::ValueType type,
                               repository::Value& out);
    static VARTYPE vartypeOf(repository::CimType type);
};

inline VARTYPE VariantValues::vartypeOf(repository::CimType type) {
    using repository::CimType;
    switch (type) {
        case CimType::Sint8:
        case CimType::Sint16:
        case CimType::Char16:
            return VT_I2;
        case CimType::Uint8:
            return VT_UI1;
        case CimType::Uint16:
        case CimType::Sint32:
        case CimType::Uint32:
            return VT_I4;
        case CimType::Real32:
            return VT_R4;
        case CimType::Real64:
            return VT_R8;
        case CimType::Boolean:
            return VT_BOOL;
        default:
            return VT_BSTR;
    }
}

}  // namespace nvx4::platform

#endif
