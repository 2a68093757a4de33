// Shape tool (key 4): drag a frame; repeating the key cycles the shape: rectangle, ellipse,
// rounded rectangle, and the ring the document defines as the clip path "oval".
(function () {
  "use strict";
  var WIDTH = 4; // outline in screen pixels when the shape is made

  function outline(item, kit) {
    var frame = { x: item.x, y: item.y, width: item.w, height: item.h };
    if (item.style === "ellipse") {
      return ["ellipse", { cx: item.x + item.w / 2, cy: item.y + item.h / 2,
                           rx: item.w / 2, ry: item.h / 2 }];
    }
    if (item.style === "rounded") {
      var radius = Math.min(Math.min(item.w, item.h) / 4, 16 * kit.unit);
      frame.rx = radius;
      frame.ry = radius;
    }
    return ["rect", frame];
  }

  window.ANNOTATION_TOOLS = window.ANNOTATION_TOOLS || [];
  window.ANNOTATION_TOOLS.push({
    kind: "shape",
    mode: "add-shape",
    flag: "addShapeActivated",
    key: "4",
    label: "Shape",
    layer: "shapes",
    geometry: "box",
    styles: ["rectangle", "ellipse", "rounded", "ring"],
    numbers: ["x", "y", "w", "h", "width"],

    applyStyle: function (item, kit) {
      if (!(item.width > 0)) { item.width = WIDTH * kit.unit; }
    },

    create: function (kit) {
      return kit.svg("g");
    },

    update: function (group, item, kit) {
      // The elements differ between shapes; rebuild them when the shape changes.
      if (group.getAttribute("data-style") !== item.style) {
        group.textContent = "";
        group.setAttribute("data-style", item.style);
        if (item.style === "ring") {
          group.appendChild(kit.svg("rect", { "class": "annotation-fill", fill: kit.colour,
                                              "clip-path": "url(#oval)" }));
        } else {
          var tag = outline(item, kit)[0];
          group.appendChild(kit.svg(tag, { "class": "annotation-hit" }));
          group.appendChild(kit.svg(tag, { "class": "annotation-stroke", stroke: kit.colour }));
        }
      }
      if (item.style === "ring") {
        kit.set(group.firstChild, { x: item.x, y: item.y, width: item.w, height: item.h });
        return;
      }
      var attributes = outline(item, kit)[1];
      kit.set(group.children[0], attributes);
      kit.set(group.children[0], { "stroke-width": Math.max(item.width, 14 * kit.unit) });
      kit.set(group.children[1], attributes);
      kit.set(group.children[1], { "stroke-width": item.width });
    }
  });
})();
