#pragma once

#include <cstddef>
#include <vector>

#include "core/context.h"
#include "lottery/draw.h"

namespace archive {

// Opens draws.db in the data directory unless it is open already. A file
// that was set aside as broken, or one that cannot be opened, is said in
// 标签_回测进度; 标签_号码库 shows what the archive holds. False when there is
// no archive to use.
bool OpenArchive(core::Context& ctx);

// Opens draws.db when the data directory holds one, so 标签_号码库 says what
// it holds from the start; without one the form's "号码库：空" is true and no
// file is made.
void ShowExistingArchive(core::Context& ctx);

// Stores every row of the draw list (a draw already stored is a no-op), then
// refreshes 标签_号码库.
void StoreDrawList(core::Context& ctx, std::string_view source);

// The newest n archived draws, oldest first; empty without an archive.
std::vector<lottery::Draw> NewestArchivedDraws(core::Context& ctx, std::size_t n);

// 超级按钮_导入号码 / 超级按钮_导出号码 on the path in 编辑框_号码文件; the outcome
// line goes into 标签_号码库.
void ImportDrawsClicked(core::Context& ctx);
void ExportDrawsClicked(core::Context& ctx);

// The buttons of the archive strip of the 回测 page, and the storing of every
// draw that enters the draw list.
void BindArchiveHandlers(core::Context& ctx);

}  // namespace archive
