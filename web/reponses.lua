-- SPDX-License-Identifier: GPL-3.0-or-later
-- The statements' "Votre réponse :" for the browser: the emphasised prompt
-- becomes the label of a box the pupil types the answer in, and the blank
-- paragraph that leaves room for it on paper goes.
local count = 0

local function isPrompt(block)
  return block.t == "Para" and #block.content == 1 and block.content[1].t == "Emph"
    and pandoc.utils.stringify(block.content[1]) == "Votre réponse :"
end

local function isBlank(block)
  -- "\ " in the source is a no-break space.
  local text = pandoc.utils.stringify(block):gsub("\194\160", "")
  return block.t == "Para" and text:match("^%s*$") ~= nil
end

function Blocks(blocks)
  local out = {}
  local i = 1
  while i <= #blocks do
    local block = blocks[i]
    if isPrompt(block) then
      count = count + 1
      local id = "reponse-" .. count
      table.insert(out, pandoc.RawBlock("html",
        '<p class="reponse"><label for="' .. id .. '"><em>Votre réponse :</em></label><br>'
        .. '<textarea id="' .. id .. '" rows="4"></textarea></p>'))
      if i < #blocks and isBlank(blocks[i + 1]) then
        i = i + 1
      end
    else
      table.insert(out, block)
    end
    i = i + 1
  end
  return out
end
