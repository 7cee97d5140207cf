#include "model/NSCaipClass.h"

namespace {
const std::string kEmpty;
}

const std::string& NSCaipClass::strID() const { return m_strID ? *m_strID : kEmpty; }

void NSCaipClass::setM_strID(const std::string& id) { m_strID = std::make_shared<const std::string>(id); }

void NSCaipClass::setM_strID(std::shared_ptr<const std::string> id) { m_strID = std::move(id); }

void NSCaipClass::Clear() {
    setM_strID(std::string());
    m_strCXDM.clear();
    m_strName.clear();
    m_strFenl.clear();
    m_strDanw.clear();
    m_strPrice.clear();
    m_strCategory.clear();
    m_strZuofID.clear();
    m_strPic.clear();
    m_strZfjiag.clear();
    m_iPrice = -1;
    m_iMultizuof = 1;
    m_bisSet = false;
    m_bCustom = false;
    m_bVarQty = false;
    m_iMustzuof = 0;
}

void NSCaipClass::CopyCaip(const NSCaipClass& other) {
    m_strID = other.m_strID;
    m_strCXDM = other.m_strCXDM;
    m_strName = other.m_strName;
    m_strFenl = other.m_strFenl;
    m_strDanw = other.m_strDanw;
    m_strPrice = other.m_strPrice;
    m_strCategory = other.m_strCategory;
    m_iPrice = other.m_iPrice;
    m_iMultizuof = other.m_iMultizuof;
    m_strZuofID = other.m_strZuofID;
    m_bisSet = other.m_bisSet;
    m_bCustom = other.m_bCustom;
    m_bVarQty = other.m_bVarQty;
    m_iMustzuof = other.m_iMustzuof;
    m_strPic = other.m_strPic;
}

void NSCaipClass::setFlags(int flags) {
    m_bisSet = (flags & kFlagSet) != 0;
    m_bCustom = (flags & kFlagCustom) != 0;
    m_bVarQty = (flags & kFlagVarQty) != 0;
    m_iMustzuof = (flags & kFlagMustZuof) ? kFlagMustZuof : 0;
    m_Digits = (flags & kFlagDigits) != 0;
    m_bRebate = (flags & kFlagRebate) != 0;
    m_bAddOn = (flags & kFlagAddOn) != 0;
}
