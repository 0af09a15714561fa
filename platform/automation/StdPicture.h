#pragma once

#include "automation/Dispatch.h"

#include <QIcon>
#include <QPixmap>

#include <cstdint>
#include <memory>

namespace automation {

// The standard automation picture: an icon, a bitmap or nothing.
class StdPicture : public Dispatch {
public:
    enum Type : std::int16_t { None = 0, Bitmap = 1, Metafile = 2, Icon = 3, EnhancedMetafile = 4 };

    StdPicture() = default;
    static std::shared_ptr<StdPicture> fromIcon(const QIcon& icon);
    static std::shared_ptr<StdPicture> fromBitmap(const QPixmap& pixmap);

    std::int16_t type() const { return m_type; }
    const QIcon& icon() const { return m_icon; }
    // The picture drawn at its natural size (an icon's largest image).
    QPixmap pixmap() const;

    const TypeInfo& typeInfo() const override;

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& params) override;

private:
    std::int16_t m_type = None;
    QIcon m_icon;
    QPixmap m_bitmap;
};

using PictureRef = std::shared_ptr<StdPicture>;

} // namespace automation
