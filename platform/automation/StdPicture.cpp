#include "automation/StdPicture.h"

#include "automation/AutomationError.h"

namespace automation {
namespace {

enum PictureDispId : DispId { PictHandle = 0, PictType = 3, PictWidth = 4, PictHeight = 5 };

// Picture sizes are reported in HIMETRIC units (0.01 mm), from pixels at 96 DPI.
std::int32_t toHimetric(int pixels) { return static_cast<std::int32_t>(pixels * 2540 / 96); }

} // namespace

std::shared_ptr<StdPicture> StdPicture::fromIcon(const QIcon& icon)
{
    auto picture = std::make_shared<StdPicture>();
    picture->m_type = icon.isNull() ? None : Icon;
    picture->m_icon = icon;
    return picture;
}

std::shared_ptr<StdPicture> StdPicture::fromBitmap(const QPixmap& pixmap)
{
    auto picture = std::make_shared<StdPicture>();
    picture->m_type = pixmap.isNull() ? None : Bitmap;
    picture->m_bitmap = pixmap;
    return picture;
}

QPixmap StdPicture::pixmap() const
{
    if (m_type == Bitmap)
        return m_bitmap;
    if (m_type == Icon) {
        const auto sizes = m_icon.availableSizes();
        QSize largest(32, 32);
        for (const QSize& size : sizes) {
            if (size.width() * size.height() > largest.width() * largest.height())
                largest = size;
        }
        return m_icon.pixmap(largest);
    }
    return {};
}

const TypeInfo& StdPicture::typeInfo() const
{
    static const TypeInfo info{
        QStringLiteral("StdPicture"),
        QStringLiteral("Picture"),
        QUuid(QStringLiteral("{7BF80981-BF32-101A-8BBB-00AA00300CAB}")),
        {
            {QStringLiteral("Handle"), PictHandle, MemberKind::PropertyGet, ParamType::Long},
            {QStringLiteral("Type"), PictType, MemberKind::PropertyGet, ParamType::Integer},
            {QStringLiteral("Width"), PictWidth, MemberKind::PropertyGet, ParamType::Long},
            {QStringLiteral("Height"), PictHeight, MemberKind::PropertyGet, ParamType::Long},
        }};
    return info;
}

Variant StdPicture::invokeMember(const MemberInfo& member, std::vector<Variant>&)
{
    const QPixmap image = pixmap();
    switch (member.id) {
    case PictHandle: return static_cast<std::int32_t>(m_type == None ? 0 : static_cast<std::int32_t>(image.cacheKey() & 0x7FFFFFFF));
    case PictType: return m_type;
    case PictWidth: return toHimetric(image.width());
    case PictHeight: return toHimetric(image.height());
    }
    raiseError(ErrorNumber::NotSupported);
}

} // namespace automation
