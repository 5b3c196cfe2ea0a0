#include "tests/output/UserWorkbook.h"

#include "tests/output/ExportFixture.h"

#include <QFile>
#include <xlsxwriter.h>

void MakeUserWorkbook(const QString& FileName)
{
    lxw_workbook* wb = workbook_new(QFile::encodeName(FileName).constData());
    lxw_worksheet* club = workbook_add_worksheet(wb, "Club");
    lxw_worksheet* runs = workbook_add_worksheet(wb, "Runs");

    lxw_format* fill = workbook_add_format(wb);
    format_set_pattern(fill, LXW_PATTERN_SOLID);
    format_set_bg_color(fill, 0xFFFF00);
    format_set_border(fill, LXW_BORDER_THICK);
    format_set_border_color(fill, 0xC00000);
    worksheet_write_string(club, 0, 0, "Orienteers", fill);
    lxw_format* centre = workbook_add_format(wb);
    format_set_align(centre, LXW_ALIGN_CENTER);
    worksheet_merge_range(club, 1, 1, 1, 3, "Merged", centre);
    worksheet_write_boolean(club, 2, 2, 1, nullptr);
    for (int r = 3; r < 6; ++r) {
        worksheet_write_number(club, r, 0, r * 10, nullptr);
        worksheet_write_formula(club, r, 1, QStringLiteral("=A%1*2").arg(r + 1).toUtf8().constData(), nullptr);
    }
    lxw_conditional_format bar{};
    bar.type = LXW_CONDITIONAL_DATA_BAR;
    worksheet_conditional_format_range(club, 3, 0, 5, 0, &bar);
    const QByteArray png = PngOf(40, 30, 0x1478C8);
    worksheet_insert_image_buffer(club, 0, 4, reinterpret_cast<const unsigned char*>(png.constData()), size_t(png.size()));

    lxw_format* bold = workbook_add_format(wb);
    format_set_bold(bold);
    worksheet_write_string(runs, 0, 0, "Name", bold);
    worksheet_write_string(runs, 0, 1, "Km", bold);
    worksheet_write_string(runs, 1, 0, "Mäkinen Liisa", nullptr);
    worksheet_write_number(runs, 1, 1, 7.5, nullptr);
    worksheet_write_string(runs, 2, 0, "Virtanen Aino", nullptr);
    worksheet_write_number(runs, 2, 1, 5.25, nullptr);
    workbook_close(wb);
}
