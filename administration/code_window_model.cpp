#include "administration/code_window_model.h"

#include <algorithm>

#include "administration/admin_texts.h"
#include "administration/budget.h"
#include "administration/login_window_model.h"
#include "formats/code_batch.h"
#include "formats/code_name.h"
#include "formats/cp1250.h"
#include "formats/issuing.h"

namespace sentavo::admin {
namespace {

constexpr std::size_t kMaxText = 255;  // the characters a record's text field holds

DateTime DayOf(const DateTime& dt) {
  return DateTime{dt.year, dt.month, dt.day};
}

// A time picker shows whole seconds, and holds no more than it shows.
DateTime TimeOfDay(const DateTime& dt) {
  return DateTime{1899, 12, 30, dt.hour, dt.minute, dt.second};
}

DateTime Combine(const DateTime& day, const DateTime& time) {
  return DateTime{day.year, day.month, day.day, time.hour, time.minute, time.second};
}

// The count typed in the vouchers dialog: a whole number from 1 to kMaxVouchers, spaces around it
// allowed.
std::optional<int> ParseVoucherCount(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    value = value * 10 + (ch - '0');
  }
  if (value < 1 || value > kMaxVouchers) return std::nullopt;
  return value;
}

// A printed slip of the code `name`, issued as `record`.
Voucher VoucherOf(const TCodeRecord& record, std::string name) {
  return Voucher{std::move(name), record.secondsLeft,
                 record.validToDateText + " " + record.validToTimeText};
}

bool AnyUnencodable(std::initializer_list<std::string_view> texts) {
  for (std::string_view t : texts) {
    if (FirstUnencodable(t)) return true;
  }
  return false;
}

// The record's copies of the validity bounds come from the user's date and time formats, which on
// some systems hold characters that Windows-1250 lacks (an Asian AM/PM mark). Nobody reads these
// copies back, so such a character is stored as "?" rather than refusing the code.
std::string Storable(const std::string& utf8) {
  std::string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t end = i + 1;
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
    const std::string_view ch(utf8.data() + i, end - i);
    if (FirstUnencodable(ch)) {
      out += '?';
    } else {
      out += ch;
    }
    i = end;
  }
  return out;
}

}  // namespace

SwitchSet SettingsTab::DefaultSwitches() {
  return kDefaultSwitches;  // DEFasFrontApp, DEFctrlaltdel
}

CodeWindowModel::CodeWindowModel(AdminState& state, LoginWindowModel& login)
    : state_(state), login_(login) {}

void CodeWindowModel::SetValidityWindow(int days) {
  const DateTime now = state_.services.clock.LocalNow();
  CodeCreationTab& c = view_.creation;
  c.datumod = DayOf(now);
  c.datumdo = DayOf(AddDays(now, days));
  c.casod = TimeOfDay(now);
  c.casdo = TimeOfDay(now);
}

void CodeWindowModel::ReadConfiguration(Requests& out) {
  SettingsTab& settings = view_.settings;
  settings.adminheslo = kDefaultPassword;
  const std::string path = state_.ConfigPath();
  if (state_.services.files.IsFile(path)) {
    // ReadRecord gives a whole record or throws, so decoding cannot fail.
    const auto record =
        DecodeConfigRecord(ReadRecord(state_.services.files, path, kConfigRecordSize)).value();
    state_.config = record;
    settings.adminheslo = record.adminPassword;
    settings.provoz = record.establishment;
    settings.servercesta = WithTrailingBackslash(record.serverPath);
    settings.pozadiFile = record.backgroundFile;
  }
  if (settings.adminheslo == kDefaultPassword) {
    out.push_back(InformationMessage(std::string(text::kDefaultPasswordWarning)));
  }
}

void CodeWindowModel::ShowAfterLogin(Requests& out) {
  if (!view_.visible) {
    view_.visible = true;
    out.push_back(Showing(AdminWindow::Codes, true));
    SetValidityWindow(1);
    view_.statistics.mesic = DayOf(state_.services.clock.LocalNow());
  }
  OnPrehledRefresh();
  view_.activeTab = CodeTab::VydaneKody;
  const std::string path = state_.CodesListPath();
  const CodesListFile file = ReadCodesListFile(state_.services.files, path);
  if (file.state == CodesListFile::State::Unreadable) {
    listLoaded_ = false;
    throw FileError("Cannot open file " + path);
  }
  if (file.state == CodesListFile::State::Read) {
    // Should the file not fit in memory, the window keeps a list that is not the file's.
    listLoaded_ = false;
    ReplaceIssued(ParseCodesListBytes(file.bytes));
    listLoaded_ = true;
  }
}

void CodeWindowModel::ReplaceIssued(CodeNames names) {
  IssuedCodesTab& list = view_.issued;
  list.vydane = std::move(names);
  list.selected.reset();
  filter_.reset();
  if (list.shown) {
    Refilter();
  } else {
    list.vydaneRows.Replaced();
  }
}

void CodeWindowModel::AppendIssued(std::span<const std::string> names) {
  IssuedCodesTab& list = view_.issued;
  if (names.empty()) return;
  for (const std::string& name : names) list.vydane.push_back(name);
  filter_.reset();
  if (list.shown) {
    // The selection is a row shown, and a new name may come in above it. The names are searched
    // afresh once for the whole batch.
    const std::optional<std::size_t> selected = list.SelectedName();
    Refilter();
    SelectName(selected);
  } else if (names.size() == 1) {
    list.vydaneRows.Inserted(list.vydane.size() - 1);
  } else {
    list.vydaneRows.Replaced();
  }
}

void CodeWindowModel::EraseIssued(std::size_t index) {
  IssuedCodesTab& list = view_.issued;
  list.vydane.erase(index);
  filter_.reset();
  if (list.shown) {
    list.selected.reset();
    Refilter();
  } else {
    list.vydaneRows.Removed(index);
  }
}

void CodeWindowModel::Refilter() {
  IssuedCodesTab& list = view_.issued;
  if (list.hledat.empty()) {
    list.shown.reset();
  } else {
    if (!filter_) filter_.emplace(list.vydane);
    list.shown = filter_->Matching(list.hledat);
  }
  list.vydaneRows.Replaced();
}

void CodeWindowModel::OnHledatChanged(std::string text) {
  IssuedCodesTab& list = view_.issued;
  if (text == list.hledat) return;
  const std::optional<std::size_t> selected = list.SelectedName();
  list.hledat = std::move(text);
  Refilter();
  SelectName(selected);
}

void CodeWindowModel::SelectName(std::optional<std::size_t> name) {
  IssuedCodesTab& list = view_.issued;
  list.selected.reset();
  if (!name || !list.shown) {
    list.selected = name;
    return;
  }
  const auto at = std::lower_bound(list.shown->begin(), list.shown->end(), *name);
  if (at != list.shown->end() && *at == *name) {
    list.selected = static_cast<std::size_t>(at - list.shown->begin());
  }
}

Requests CodeWindowModel::OnClose() {
  Requests out;
  if (view_.visible) {
    view_.visible = false;
    out.push_back(Showing(AdminWindow::Codes, false));
  }
  for (Request& r : login_.Show()) out.push_back(std::move(r));
  return out;
}

void CodeWindowModel::OnTabChanged(CodeTab tab) {
  view_.activeTab = tab;
  if (tab == CodeTab::Statistika) OnStatistikaRefresh();
}

void CodeWindowModel::OnMesicChanged(DateTime month) {
  StatisticsTab& s = view_.statistics;
  const bool other = month.year != s.mesic.year || month.month != s.mesic.month;
  s.mesic = month;
  if (other) OnStatistikaRefresh();
}

void CodeWindowModel::OnStatistikaRefresh() {
  StatisticsTab& s = view_.statistics;
  s.stats = ReadMonth(state_.services.files, Share(), s.mesic.year, s.mesic.month);
  s.rows.clear();
  UsageTotals all;
  const auto add = [&](std::string_view kind, const std::string& name, const UsageTotals& t) {
    s.rows.push_back(
        {std::string(kind), name, std::to_string(t.periods), std::to_string(Minutes(t.seconds))});
  };
  for (const auto& [station, t] : s.stats.byStation) {
    add(text::kStatisticsStation, station, t);
    all.periods += t.periods;
    all.seconds += t.seconds;
  }
  for (const auto& [code, t] : s.stats.byCode) add(text::kStatisticsCode, code, t);
  ++s.revision;
  s.souhrn =
      text::StatisticsSummary(all.periods, Minutes(all.seconds), s.stats.files, s.stats.unreadable);
}

Requests CodeWindowModel::OnExportovatCsv(const std::string& path) {
  Requests out;
  const std::string csv = StatisticsCsv(view_.statistics.stats);
  const int error = state_.services.files.Replace(
      path, {reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()});
  if (error == io::kOk) {
    out.push_back(InformationMessage(text::StatisticsExported(path)));
  } else {
    out.push_back(ErrorMessage(text::StatisticsNotExported(path, IoErrorText(error))));
  }
  return out;
}

// The saved shared folder, not the one being typed in "Nastavení": the overview reads it every
// 2 seconds, and each half-typed network path would be looked up on the way.
std::string CodeWindowModel::Share() const {
  const std::string& saved = state_.config.serverPath;
  return WithTrailingBackslash(saved.empty() ? view_.settings.servercesta : saved);
}

void CodeWindowModel::OnPrehledRefresh() {
  OverviewTab& o = view_.overview;
  o.watchFolder = Share() + std::string(kStatusFolder) + "\\";
  if (!view_.visible) return;
  const LocalTime now = LocalNowWithOffset(state_.services.clock);
  o.rows = ReadOverview(state_.services.files, Share(), now, state_.services.formats);
  // Only the selected PC's command file is looked for: whether it still waits to be picked up.
  if (const auto it = sent_.find(o.selectedStation); it != sent_.end()) {
    it->second.pickedUp =
        !state_.services.files.IsFile(StationFile(Share(), kCommandFolder, o.selectedStation));
  }
  SelectStation(o.selectedStation);
}

void CodeWindowModel::SelectStation(std::string station) {
  OverviewTab& o = view_.overview;
  o.selectedStation.clear();
  o.selected.reset();
  for (std::size_t i = 0; i < o.rows.size(); ++i) {
    if (!station.empty() && o.rows[i].station == station) {
      o.selected = i;
      o.selectedStation = std::move(station);
      break;
    }
  }
  o.actionsEnabled = o.selected.has_value();
  UpdatePrikazInfo();
}

void CodeWindowModel::UpdatePrikazInfo() {
  OverviewTab& o = view_.overview;
  o.prikazInfo.clear();
  if (!o.selected) return;
  const OverviewRow& row = o.rows[*o.selected];
  if (const auto it = sent_.find(row.station); it != sent_.end()) {
    o.prikazInfo = text::CommandSent(it->second.caption, it->second.at, it->second.pickedUp) + "\n";
  }
  o.prikazInfo += row.lastCommand.empty() ? std::string(text::kLastCommandNone) : row.lastCommand;
}

void CodeWindowModel::OnPrehledSelected(std::optional<std::size_t> index) {
  const OverviewTab& o = view_.overview;
  SelectStation(index && *index < o.rows.size() ? o.rows[*index].station : std::string());
}

Requests CodeWindowModel::Send(const StationCommand& command) {
  Requests out;
  OverviewTab& o = view_.overview;
  if (!o.selected) {
    out.push_back(ErrorMessage(std::string(text::kNoSelection)));
    return out;
  }
  const std::string station = o.selectedStation;
  const int error = SendStationCommand(state_.services.files, Share(), station, command);
  if (error != io::kOk) {
    out.push_back(ErrorMessage(CommandErrorText(o.rows[*o.selected].pocitac, error)));
    return out;
  }
  std::string caption(text::kZamknout);
  if (const auto* add = std::get_if<AddTimeCommand>(&command)) {
    caption = std::string(text::kAddTimeCaption) + " " + std::to_string(add->minutes) + " min";
  } else if (std::holds_alternative<MessageCommand>(command)) {
    caption = std::string(text::kMessageCaption);
  }
  const LocalTime now = LocalNowWithOffset(state_.services.clock);
  sent_[station] = {caption, FormatMoment(now, now, state_.services.formats), false};
  UpdatePrikazInfo();
  return out;
}

Requests CodeWindowModel::OnZamknout() {
  return Send(LockCommand{});
}

Requests CodeWindowModel::OnPridatCas(std::string minutes) {
  const std::optional<int> value = ParseMinutes(minutes);
  if (!value) return {ErrorMessage(std::string(text::kBadMinutes))};
  return Send(AddTimeCommand{*value});
}

Requests CodeWindowModel::OnZprava(std::string message) {
  if (message.find_first_not_of(" \t\r\n") == std::string::npos)
    return {ErrorMessage(std::string(text::kEmptyMessage))};
  if (CharacterCount(message) > kMaxMessageChars)
    return {ErrorMessage(std::string(text::kLongMessage))};
  return Send(MessageCommand{std::move(message)});
}

void CodeWindowModel::OnKodChanged(std::string text) {
  view_.creation.kod = std::move(text);
}

void CodeWindowModel::OnRightChanged(Right right, bool checked) {
  view_.creation.rights[RightIndex(right)] = checked;
}

void CodeWindowModel::OnCanDivideChanged(bool checked) {
  view_.creation.canDivide = checked;
}

void CodeWindowModel::OnTypKoduChanged(std::optional<std::size_t> index) {
  view_.creation.typkodu = index;
}

void CodeWindowModel::OnDatumOdChanged(DateTime date) {
  view_.creation.datumod = date;
}

void CodeWindowModel::OnDatumDoChanged(DateTime date) {
  view_.creation.datumdo = date;
}

void CodeWindowModel::OnCasOdChanged(DateTime time) {
  view_.creation.casod = time;
}

void CodeWindowModel::OnCasDoChanged(DateTime time) {
  view_.creation.casdo = time;
}

void CodeWindowModel::OnVydaneSelected(std::optional<std::size_t> index) {
  view_.issued.selected = index;
}

void CodeWindowModel::OnAdminhesloChanged(std::string text) {
  view_.settings.adminheslo = std::move(text);
}

void CodeWindowModel::OnServercestaChanged(std::string text) {
  view_.settings.servercesta = std::move(text);
}

void CodeWindowModel::OnPozadiFileChanged(std::string text) {
  view_.settings.pozadiFile = std::move(text);
}

void CodeWindowModel::OnProvozChanged(std::string text) {
  view_.settings.provoz = std::move(text);
}

void CodeWindowModel::OnNavrhnout() {
  view_.creation.kod = state_.generator.NextName();
  SetValidityWindow(7);
  view_.creation.canDivide = true;
}

void CodeWindowModel::OnBudgetButton(int hours) {
  view_.creation.budget = hours * 3600;
}

void CodeWindowModel::OnBudgetTyped(std::string_view text, std::string_view localeSeparator) {
  if (const auto budget = ParseBudgetText(text, localeSeparator)) view_.creation.budget = *budget;
}

Requests CodeWindowModel::OnUlozitKod() {
  Requests out;
  RunHandled(out, [this](Requests& o) {
    const CodeCreationTab& c = view_.creation;
    if (!c.typkodu || *c.typkodu >= kCodeTypeCount) {
      o.push_back(ErrorMessage(std::string(text::kChooseCodeType)));
      return;
    }
    if (c.kod.empty()) {
      o.push_back(ErrorMessage(std::string(text::kEnterCodeName)));
      return;
    }
    // A name that is no plain file name would land in another folder or in a device.
    if (!IsIssuableCodeName(c.kod)) {
      o.push_back(ErrorMessage(std::string(text::kBadCodeName)));
      return;
    }
    // The name goes into codes.dat and the establishment into the record, both Windows-1250.
    if (AnyUnencodable({c.kod, view_.settings.provoz})) {
      o.push_back(ErrorMessage(std::string(text::kUnstorableText)));
      return;
    }

    TCodeRecord& record = state_.code;
    record = IssuedRecord();

    // The separator always goes in; a doubled one names the same file.
    const std::string path =
        CodeFilePath(view_.settings.servercesta, c.kod, FolderJoin::AlwaysSeparator);
    const bool existed = state_.services.files.IsFile(path);
    WriteRecord(state_.services.files, path, EncodeCodeRecord(record));
    if (existed) {
      o.push_back(InformationMessage(std::string(text::kCodeReplaced)));
      return;
    }
    o.push_back(InformationMessage(std::string(text::kCodeCreated)));
    SaveIssuedCodes(o, [this, &name = c.kod] { AppendIssued({&name, 1}); });
  });
  return out;
}

TCodeRecord CodeWindowModel::IssuedRecord() const {
  const CodeCreationTab& c = view_.creation;
  IssueRequest request;
  request.rights = c.rights;
  request.reusable = c.canDivide;
  request.seconds = c.budget;
  request.establishment = CutToChars(view_.settings.provoz, kMaxText);
  request.validFrom = Combine(c.datumod, c.casod);
  request.validTo = Combine(c.datumdo, c.casdo);
  request.codeType = static_cast<std::int32_t>(c.typkodu.value_or(0));
  const DateTime now = state_.services.clock.LocalNow();
  TCodeRecord record = BuildIssuedRecord(request, now, state_.services.formats);
  for (std::string* t : {&record.validFromDateText, &record.validFromTimeText,
                         &record.validToDateText, &record.validToTimeText}) {
    *t = CutToChars(Storable(*t), kMaxText);
  }
  return record;
}

Requests CodeWindowModel::OnTiskPoukazek() {
  Requests out;
  const CodeCreationTab& c = view_.creation;
  if (!c.typkodu || *c.typkodu >= kCodeTypeCount) {
    out.push_back(ErrorMessage(std::string(text::kChooseCodeType)));
    return out;
  }
  // The establishment goes into every record, in Windows-1250.
  if (AnyUnencodable({view_.settings.provoz})) {
    out.push_back(ErrorMessage(std::string(text::kUnstorableText)));
    return out;
  }
  view_.vouchers.open = true;
  UpdateVoucherPreview();
  return out;
}

void CodeWindowModel::OnPocetPoukazekChanged(std::string text) {
  view_.vouchers.pocet = std::move(text);
  UpdateVoucherPreview();
}

void CodeWindowModel::UpdateVoucherPreview() {
  VoucherDialog& d = view_.vouchers;
  d.count = ParseVoucherCount(d.pocet);
  d.info = d.count
               ? text::VoucherCountInfo(*d.count, (*d.count + kSlipsPerPage - 1) / kSlipsPerPage)
               : std::string(text::kVoucherCountRange);
  // The first page with the names the issue will draw next; a name that is taken by then is
  // drawn again, so a printed slip may differ from its preview, never from its code.
  const TCodeRecord record = IssuedRecord();
  d.preview = VoucherSheet{record.establishment, {}};
  CodeNameGenerator ahead = state_.generator;
  const int slips = std::min(d.count.value_or(kSlipsPerPage), kSlipsPerPage);
  for (int i = 0; i < slips; ++i) d.preview.vouchers.push_back(VoucherOf(record, ahead.NextName()));
}

Requests CodeWindowModel::OnVoucherPrint() {
  Requests out;
  VoucherDialog& d = view_.vouchers;
  d.printed = VoucherSheet{};
  if (!d.count) {
    out.push_back(ErrorMessage(std::string(text::kVoucherCountRange)));
    return out;
  }
  RunHandled(out, [&](Requests& o) {
    const TCodeRecord record = IssuedRecord();
    const CodeRecordBytes bytes = EncodeCodeRecord(record);
    const std::string& folder = view_.settings.servercesta;
    d.printed.establishment = record.establishment;
    std::vector<std::string> names;
    const auto failure = IssueNewCodes(
        state_.services.files, WithTrailingBackslash(folder),
        [&](const std::string& name) {
          return CodeFilePath(folder, name, FolderJoin::SeparatorIfMissing);
        },
        bytes, *d.count, state_.generator, [&](const std::string& name) { names.push_back(name); });
    for (const std::string& name : names) d.printed.vouchers.push_back(VoucherOf(record, name));
    if (failure) {
      o.push_back(ErrorMessage(
          text::VouchersNotIssued(failure->path.empty() ? folder : failure->path,
                                  IoErrorText(failure->error), static_cast<int>(names.size()))));
    }
    // Every code written goes on the list, also those of a batch cut off half-way.
    if (!names.empty()) {
      SaveIssuedCodes(o, [&] { AppendIssued(names); });
    }
  });
  UpdateVoucherPreview();
  return out;
}

Requests CodeWindowModel::OnPrinterUnavailable(std::string reason) {
  Requests out;
  out.push_back(
      ErrorMessage(reason.empty() ? std::string(text::kNoPrinter) : text::PrintNotStarted(reason)));
  return out;
}

Requests CodeWindowModel::OnVouchersPrinted(std::optional<std::string> failure) {
  Requests out;
  const int count = static_cast<int>(view_.vouchers.printed.vouchers.size());
  if (failure) {
    out.push_back(ErrorMessage(text::VouchersNotPrinted(*failure, count)));
  } else {
    out.push_back(InformationMessage(text::VouchersPrinted(count)));
  }
  view_.vouchers.printed = VoucherSheet{};
  return out;
}

void CodeWindowModel::OnVoucherDialogClosed() {
  view_.vouchers.open = false;
  view_.vouchers.printed = VoucherSheet{};
}

void CodeWindowModel::SaveIssuedCodes(Requests& out, const std::function<void()>& edit) {
  IssuedCodesTab& list = view_.issued;
  const std::string path = state_.CodesListPath();
  CodesListFile file = ReadCodesListFile(state_.services.files, path);
  if (file.state == CodesListFile::State::Unreadable) {
    // The window may hold only part of the list: the file keeps what it has, and the operator
    // learns that this change is not in it.
    listLoaded_ = false;
    edit();
    out.push_back(ErrorMessage(std::string(text::kCodesListNotSaved)));
    return;
  }
  if (file.state == CodesListFile::State::Read && !listLoaded_) {
    // Readable again: the change goes onto the whole list rather than onto the part shown.
    ReplaceIssued(ParseCodesListBytes(file.bytes));
  }
  listLoaded_ = true;
  edit();
  std::optional<std::vector<std::uint8_t>> previous;
  if (file.state == CodesListFile::State::Read) previous = std::move(file.bytes);
  SaveCodesList(state_.services.files, path, list.vydane, previous);
}

Requests CodeWindowModel::OnOdstranit() {
  Requests out;
  RunHandled(out, [this](Requests& o) {
    IssuedCodesTab& list = view_.issued;
    const std::optional<std::size_t> selectedName = list.SelectedName();
    if (!selectedName) return;
    const std::size_t index = *selectedName;
    const std::string name(list.vydane[index]);
    // The same file that "Uložit kód" wrote, also while the path typed in servercesta still
    // lacks its final backslash.
    const std::string path =
        CodeFilePath(view_.settings.servercesta, name, FolderJoin::SeparatorIfMissing);
    FileAccess& files = state_.services.files;
    bool gone = !files.IsFile(path);
    if (!gone) {
      const int error = files.Remove(path);
      gone = error == io::kFileNotFound || error == io::kPathNotFound;
      if (error != io::kOk && !gone) {
        // A code file that stays would go on unlocking PCs: keep the entry and say why.
        o.push_back(ErrorMessage(text::CodeNotDeleted(name, IoErrorText(error))));
        return;
      }
    }
    // An entry without its file names no code any more.
    if (gone) o.push_back(InformationMessage(std::string(text::kCodeFileMissing)));
    list.selected.reset();
    SaveIssuedCodes(o, [this, index, &name] {
      // After a fresh read the entry may stand elsewhere, or no more.
      const CodeNames& names = view_.issued.vydane;
      if (index < names.size() && names[index] == name) {
        EraseIssued(index);
      } else if (const auto at = names.Find(name)) {
        EraseIssued(*at);
      }
    });
  });
  return out;
}

void CodeWindowModel::OnVydaneDoubleClick() {
  const IssuedCodesTab& list = view_.issued;
  const std::optional<std::size_t> selected = list.SelectedName();
  if (!selected) return;
  view_.creation.kod = std::string(list.vydane[*selected]);
  view_.activeTab = CodeTab::VytvareniKodu;
}

Requests CodeWindowModel::OnUlozitNastaveni() {
  Requests out;
  RunHandled(out, [this](Requests& o) {
    SettingsTab& s = view_.settings;
    if (AnyUnencodable({s.adminheslo, s.provoz, s.pozadiFile, s.servercesta})) {
      o.push_back(ErrorMessage(std::string(text::kUnstorableText)));
      return;
    }
    TConfigRecord& record = state_.config;
    record.asFrontApp = s.predprava[kAsFrontAppSwitch];
    record.rights = RightsOf(s.predprava);
    record.establishment = CutToChars(s.provoz, kMaxText);
    record.adminPassword = CutToChars(s.adminheslo, kMaxText);
    record.backgroundFile = CutToChars(s.pozadiFile, kMaxText);
    s.servercesta = WithTrailingBackslash(s.servercesta);
    record.serverPath = CutToChars(s.servercesta, kMaxText);
    WriteRecord(state_.services.files, state_.ConfigPath(), EncodeConfigRecord(record));
    o.push_back(InformationMessage(std::string(text::kSettingsSaved)));
  });
  return out;
}

Requests CodeWindowModel::OnOrderLink() {
  Requests out;
  out.push_back(ui::OpenUrlRequest{std::string(kOrderPage)});
  return out;
}

}  // namespace sentavo::admin
