#include "import/days_stage.h"

#include "import/field_reader.h"
#include "import/section_nodes.h"

#include <array>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

namespace enlazor {

namespace {

constexpr int kDays = 7;
constexpr int kPeriods = 40;

// The number whose plain decimal text is `text` ("1", not "01" nor " 1"),
// or 0 when there is none from 1 to `last`.
class PlainNumbers {
public:
    explicit PlainNumbers(int last) {
        for (int n = 1; n <= last; ++n)
            numbers_.emplace(int_to_text(n), n);
    }
    int number_of(const Text8& text) const {
        auto found = numbers_.find(text);
        return found == numbers_.end() ? 0 : found->second;
    }

private:
    std::unordered_map<Text8, int> numbers_;
};

struct Interval {
    Text8 begin;
    Text8 end;
};

// What one pass over DIASHORAST learns, in table order.
struct DayPeriodRecords {
    std::array<std::optional<Text8>, kDays + 1> day_name;  // name of a day's first record
    std::array<std::array<std::vector<Interval>, kPeriods + 1>, kDays + 1> intervals;
};

// Reads the fields in the order a scan per day and per period would first
// need them (DIA, then TEXTODIA of a day found, then HORA, then the times of
// a period found), so a table lacking several fields fails on the same one.
DayPeriodRecords read_day_periods(DbfTable& dias_horas, ImportObserver& observer) {
    static const PlainNumbers days(kDays);
    static const PlainNumbers periods(kPeriods);
    FieldReader dia(dias_horas, "DIA");
    FieldReader texto_dia(dias_horas, "TEXTODIA");
    FieldReader hora(dias_horas, "HORA");
    FieldReader hora_desde(dias_horas, "HORADESDE");
    FieldReader hora_hasta(dias_horas, "HORAHASTA");

    DayPeriodRecords records;
    std::size_t record = 0;
    for (dias_horas.first(); !dias_horas.eof(); dias_horas.next()) {
        ++record;
        const Text8 day_text = dia.text();
        const int d = days.number_of(day_text);
        if (d == 0) {
            observer.day_never_read(record, day_text);
            continue;
        }
        if (!records.day_name[d])
            records.day_name[d] = texto_dia.text();
        const Text8 period_text = hora.text();
        const int p = periods.number_of(period_text);
        if (p == 0) {
            observer.period_never_read(record, day_text, period_text);
            continue;
        }
        Text8 begin = hora_desde.text();
        records.intervals[d][p].push_back({std::move(begin), with_leading_zero(hora_hasta.text())});
    }
    return records;
}

bool is_element_named(pugi::xml_node node, const char* name) {
    return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

pugi::xml_node first_child_element(pugi::xml_node parent, const char* name) {
    for (pugi::xml_node child : parent.children())
        if (is_element_named(child, name))
            return child;
    return {};
}

} // namespace

pugi::xml_node replace_time_tables_section(pugi::xml_node document_element) {
    while (pugi::xml_node old = first_child_element(document_element, "time-tables"))
        document_element.remove_child(old);
    pugi::xml_node section = append_element(document_element, "time-tables");
    pugi::xml_node time_table = append_element(section, "time-table");
    set_text_attribute(time_table, "id", "tt" + int_to_text(1));
    set_text_attribute(time_table, "name", "Horalis");
    return time_table;
}

Text8 with_leading_zero(const Text8& end_time) {
    if (end_time.size() >= 1 && end_time.size() <= 4 && end_time.front() != '0')
        return "0" + end_time;
    return end_time;
}

DaysWritten write_days(pugi::xml_node time_table, DbfTable& dias_horas, ImportObserver& observer) {
    pugi::xml_node days = append_element(time_table, "days");
    const DayPeriodRecords records = read_day_periods(dias_horas, observer);

    DaysWritten written;
    for (int d = 1; d <= kDays; ++d) {
        if (!records.day_name[d])
            continue;
        const Text8 day_text = int_to_text(d);
        pugi::xml_node day = append_element(days, "day");
        set_text_attribute(day, "id", day_text);
        set_text_attribute(day, "name", *records.day_name[d]);
        ++written.days;
        for (int p = 1; p <= kPeriods; ++p) {
            for (const Interval& interval : records.intervals[d][p]) {
                pugi::xml_node node = append_element(day, "interval");
                set_text_attribute(node, "id", "i" + int_to_text(p));
                set_text_attribute(node, "begin", interval.begin);
                set_text_attribute(node, "end", interval.end);
                ++written.intervals;
            }
        }
    }
    return written;
}

} // namespace enlazor
