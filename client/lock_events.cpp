#include "client/lock_events.h"

namespace sentavo::client {

bool CarriesText(LockEventKind kind) {
  switch (kind) {
    case LockEventKind::KodChanged:
    case LockEventKind::AdminhesloChanged:
    case LockEventKind::ProvozChanged:
    case LockEventKind::ServercestaChanged:
    case LockEventKind::PozadiFileChanged:
    case LockEventKind::PozadiFilePicked: return true;
    default: return false;
  }
}

bool WindowCouldRaise(const LockScreenView& v, const LockEvent& e) {
  const auto usable = [](const ButtonView& b) { return b.enabled && b.visible; };
  switch (e.kind) {
    case LockEventKind::FirstShow:
    case LockEventKind::HotKey:
    case LockEventKind::ZobrazitSentavo:
    case LockEventKind::Pointer: return true;
    case LockEventKind::KodChanged:
    case LockEventKind::KodEnter: return v.kod.enabled;
    case LockEventKind::PrihlasitClick: return usable(v.prihlasitBut);
    case LockEventKind::OdhlasitUseraClick: return usable(v.odhlasitUseraBut);
    case LockEventKind::SkrytClick: return usable(v.skrytBut);
    default: return v.tabSheet2Visible;  // the settings page
  }
}

void Deliver(LockScreenModel& m, const LockEvent& e) {
  switch (e.kind) {
    case LockEventKind::FirstShow: return m.OnFirstShow();
    case LockEventKind::KodChanged: return m.OnKodChanged(e.text);
    case LockEventKind::KodEnter: return m.OnKodEnter();
    case LockEventKind::PrihlasitClick: return m.OnPrihlasitClick();
    case LockEventKind::OdhlasitUseraClick: return m.OnOdhlasitUseraClick();
    case LockEventKind::SkrytClick: return m.OnSkrytClick();
    case LockEventKind::HotKey: return m.OnHotKey();
    case LockEventKind::ZobrazitSentavo: return m.OnZobrazitSentavo();
    case LockEventKind::CheckBoxChanged: return m.OnCheckBoxChanged(e.index, e.checked);
    case LockEventKind::Zamknout: return m.OnZamknout();
    case LockEventKind::PovolitVse: return m.OnPovolitVse();
    case LockEventKind::Zrusit: return m.OnZrusit();
    case LockEventKind::Konec: return m.OnKonec();
    case LockEventKind::OdhlasitAdmina: return m.OnOdhlasitAdmina();
    case LockEventKind::UlozitDefault: return m.OnUlozitDefault();
    case LockEventKind::OrderLink: return m.OnOrderLink();
    case LockEventKind::AdminhesloChanged: return m.OnAdminhesloChanged(e.text);
    case LockEventKind::ProvozChanged: return m.OnProvozChanged(e.text);
    case LockEventKind::ServercestaChanged: return m.OnServercestaChanged(e.text);
    case LockEventKind::ServercestaExit: return m.OnServercestaExit();
    case LockEventKind::PozadiFileChanged: return m.OnPozadiFileChanged(e.text);
    case LockEventKind::PozadiFilePicked: return m.OnPozadiFilePicked(e.text);
    case LockEventKind::Pointer: return;
  }
}

}  // namespace sentavo::client
