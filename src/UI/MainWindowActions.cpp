#include "MainWindowActions.h"

namespace Ui {

const ActionSpec kMainWindowActions[] = {
    {"actionExit", "Exit", "Ctrl+Q", "", "Exit Voxfab", ActionKind::Plain, 0u, nullptr},
    {"actionConsole", "Console", "", "View the console window.", "", ActionKind::Checked, 0u, nullptr},
    {"actionUndo", "Undo", "Ctrl+Z", "", "", ActionKind::Disabled, 0u, nullptr},
    {"actionRedo", "Redo", "Ctrl+Y", "", "", ActionKind::Disabled, 0u, nullptr},
    {"actionCopy", "Copy", "Ctrl+C", "", "", ActionKind::Plain, 1u, nullptr},
    {"actionCreate_Substrate", "Create Substrate", "", "This creates a simulation volume with a substrate inside.", "Create a substrate.", ActionKind::Plain, 2u, nullptr},
    {"actionRun_Simulation", "Run Simulation", "", "This allows you to run simulations such as Si wet etching and photolithography.", "Run simulations on the substrate.", ActionKind::Plain, 0u, nullptr},
    {"actionDelete", "Delete", "", "", "", ActionKind::Plain, 4u, nullptr},
    {"actionSelect", "Select", "", "", "", ActionKind::Unchecked, 0u, nullptr},
    {"actionRender_Objects", "Render Objects", "", "Render object as solids.", "", ActionKind::Checked, 0u, nullptr},
    {"actionLighting", "Lighting", "", "Enable or disable lighting.", "Enable lighting.", ActionKind::Checked, 0u, nullptr},
    {"actionRender_Object_Edges", "Render Object Edges", "", "Render the edges of the cells.", "", ActionKind::Unchecked, 0u, nullptr},
    {"actionFront_View", "Front View", "", "", "", ActionKind::Plain, 0u, "front"},
    {"actionTop_View", "Top View", "", "", "", ActionKind::Plain, 0u, "top"},
    {"actionRight_View", "Right View", "", "", "", ActionKind::Plain, 0u, "right"},
    {"actionLeft_View", "Left View", "", "", "", ActionKind::Plain, 0u, "left"},
    {"actionBack_View", "Back View", "", "", "", ActionKind::Plain, 0u, "back"},
    {"actionBottom_View", "Bottom View", "", "", "", ActionKind::Plain, 0u, "bottom"},
    {"actionManual_View", "Manual View", "Ctrl+V, Ctrl+M", "Choose an arbitrary viewing angle.", "", ActionKind::Plain, 0u, "manual"},
    {"actionGrid", "Grid", "", "", "", ActionKind::Unchecked, 0u, nullptr},
    {"actionGrid_Spacing", "Grid Spacing", "", "", "", ActionKind::Plain, 0u, nullptr},
    {"actionSnap_to_Grid", "Snap to Grid", "", "", "", ActionKind::Unchecked, 0u, nullptr},
    {"actionAbout_Voxfab", "About Voxfab", "", "", "", ActionKind::Plain, 0u, nullptr},
    {"actionConfigure_Window_Colors", "Configure Window Colors", "", "Change window background colors.", "", ActionKind::Plain, 0u, nullptr},
    {"actionZoom", "Zoom", "Ctrl+V, Ctrl+Z", "Choose an arbitrary zoom value.", "", ActionKind::Plain, 0u, nullptr},
    {"actionTranslation", "Translation", "Ctrl+V, Ctrl+T", "Displace the viewing volume. This can be used to center objects on the screen.", "Displace the viewing volume.", ActionKind::Plain, 0u, nullptr},
    {"actionChange_Cell_Volume_Viewing_Options", "Change Cell Volume Viewing Options", "", "Change cell volume colors, transparency and use atomic viewing.", "", ActionKind::Plain, 6u, nullptr},
    {"actionMove", "Move", "", "", "", ActionKind::Plain, 7u, nullptr},
    {"actionSave_Image", "Save Image", "", "Save a screenshot as an image.", "", ActionKind::Plain, 0u, nullptr},
    {"actionModel_Extraction", "Model Extraction", "", "Extract a mechanical model for a cantilever.", "", ActionKind::Plain, 1000u, nullptr},
    {"actionExtract_Film", "Extract Film", "", "Extract a deposited film from a cell volume.", "", ActionKind::Plain, 8u, nullptr},
    {"actionSave", "Save", "Ctrl+S", "", "", ActionKind::Plain, 9u, nullptr},
    {"actionOpen", "Open", "Ctrl+O", "", "", ActionKind::Plain, 11u, nullptr},
    {"actionSave_As", "Save As ...", "Ctrl+Shift+S", "", "", ActionKind::Plain, 10u, nullptr},
    {"actionGlue_Substrate", "Glue Substrate", "", "Glue a substrate over another substrate.", "", ActionKind::Plain, 12u, nullptr},
    {"actionCVD", "CVD", "", "Run an isotropic film deposition simulation.", "", ActionKind::Plain, 33u, nullptr},
    {"actionIsotropic_Etching", "Isotropic Etching", "", "Run an isotropic film etching simulation.", "", ActionKind::Plain, 14u, nullptr},
    {"actionElectroplating", "Electroplating", "", "Simulates an electrodeposition of a metal over another conductor.", "", ActionKind::Plain, 15u, nullptr},
    {"actionCut_Cell_Volume", "Cut Cell Volume", "", "Make cuts to view inside the cell volume.", "Cut Make cuts to view inside the cell volume. Volume", ActionKind::Plain, 16u, nullptr},
    {"actionManage_Materials", "Manage Materials", "", "Edit material names, colors and properties.", "", ActionKind::Plain, 0u, nullptr},
    {"actionDoping", "Doping", "", "Simulate P and N type doping of Si substrates.", "Dope a Si Simulate P and N type doping of Si substrates..", ActionKind::Plain, 17u, nullptr},
    {"actionManage_Compatible_Materials", "Manage Compatible Materials", "", "Change what materials may be used with a certain process.", "", ActionKind::Plain, 0u, nullptr},
    {"actionMoore_Deposition", "Moore Deposition", "", "", "", ActionKind::Plain, 18u, nullptr},
    {"actionMoore_Etching", "Moore Etching", "", "", "", ActionKind::Plain, 19u, nullptr},
    {"actionPhotolithography", "Photolithography", "", "", "", ActionKind::Plain, 20u, nullptr},
    {"actionSi_Wet_Etching", "Si Wet Etching", "", "", "", ActionKind::Plain, 28u, nullptr},
    {"actionBatch_Run", "Batch Run", "Ctrl+R", "", "", ActionKind::Plain, 24u, nullptr},
    {"actionPlanarization", "Planarization", "", "", "", ActionKind::Plain, 22u, nullptr},
    {"actionPour_Material", "Pour Material", "", "", "", ActionKind::Plain, 23u, nullptr},
    {"actionIon_Implantation", "Ion Implantation", "", "", "", ActionKind::Plain, 3u, nullptr},
    {"actionSi_Stochastic_Wet_Etch", "Si Stochastic Wet Etch", "", "", "", ActionKind::Plain, 0u, nullptr},
    {"actionSi_Oxidation", "Si Oxidation", "", "", "", ActionKind::Plain, 26u, nullptr},
    {"actionFilm_Deposition", "Film Deposition", "", "", "", ActionKind::Plain, 0u, nullptr},
    {"actionPVD", "PVD", "", "", "", ActionKind::Plain, 31u, nullptr},
    {"actionSimple_RIE", "Simple RIE", "", "", "", ActionKind::Plain, 30u, nullptr},
    {"actionSi_Wet_Etching_CCA", "Si Wet Etching (CCA)", "", "", "", ActionKind::Plain, 29u, nullptr},
    {"actionNew", "New", "Ctrl+N", "", "", ActionKind::Plain, 0u, nullptr},
    {"actionSet_View", "Set View", "Ctrl+Shift+V", "", "", ActionKind::Plain, 0u, nullptr},
    {"actionSet_Lighting", "Set Lighting", "Ctrl+Shift+L", "", "", ActionKind::Plain, 0u, nullptr},
    {"actionShow_Axis", "Show Axis", "", "", "", ActionKind::Checked, 0u, nullptr},
    {"actionAnisotropic_Deposition", "Anisotropic Deposition", "", "", "", ActionKind::Plain, 27u, nullptr},
    {"actionAnisotropic_Etching", "Anisotropic Etching", "", "", "", ActionKind::Plain, 32u, nullptr},
    {"actionIsotropic_Deposition", "Isotropic Deposition", "", "", "", ActionKind::Plain, 13u, nullptr},
    {"actionOpen_Process_List", "Open Process List", "Ctrl+P", "", "", ActionKind::Plain, 0u, nullptr},
    {"actionMasked_Volume_Cut", "Masked Volume Cut", "", "", "", ActionKind::Plain, 34u, nullptr},
    {"actionRemove_Masked_Cuts", "Remove Masked Cuts", "", "", "", ActionKind::Plain, 35u, nullptr},
    {"actionRandom_Walk_Doping", "Random Walk Doping", "", "", "", ActionKind::Plain, 36u, nullptr},
    {"actionExport_Data", "Export Data", "", "", "", ActionKind::Plain, 37u, nullptr},
    {"actionNew_Process_List", "New Process List", "Ctrl+Shift+N", "", "", ActionKind::Plain, 0u, nullptr},
    {"actionShow_Lights", "Show Lights", "", "", "", ActionKind::Unchecked, 0u, nullptr},
    {"actionExport_VTK", "Export VTK ...", "", "Write the cell volume as VTK image data for ParaView.", "", ActionKind::Plain, 0u, nullptr},
    {"actionExport_STL", "Export STL ...", "", "Write the surface of the cell volume as an STL mesh.", "", ActionKind::Plain, 0u, nullptr},
};
const int kMainWindowActionCount = int(sizeof(kMainWindowActions) / sizeof(kMainWindowActions[0]));

namespace {
const char *const kFileItems[] = {"actionNew", "actionOpen", "actionSave", "actionSave_As", nullptr,
                                  "actionExport_Data", nullptr, "actionNew_Process_List",
                                  "actionOpen_Process_List", nullptr, "actionSave_Image", "actionExport_VTK",
                                  "actionExport_STL", nullptr,
                                  "actionExit", ""};
const char *const kEditItems[] = {"actionUndo", "actionRedo", nullptr, "actionSelect", "actionCopy", "actionMove",
                                  "actionDelete", nullptr, "actionGrid", "actionSnap_to_Grid",
                                  "actionGrid_Spacing", ""};
const char *const kSimulationItems[] = {
    "actionCreate_Substrate", nullptr, "actionDoping", "actionRandom_Walk_Doping", "actionElectroplating",
    "actionIon_Implantation", "actionPVD", "actionCVD", "actionMoore_Deposition", "actionMoore_Etching",
    "actionPhotolithography", "actionPlanarization", "actionSi_Oxidation", "actionSi_Wet_Etching",
    "actionSi_Wet_Etching_CCA", "actionSimple_RIE", "actionPour_Material", "actionAnisotropic_Deposition",
    "actionAnisotropic_Etching", "actionIsotropic_Deposition", "actionIsotropic_Etching", nullptr,
    "actionExtract_Film", "actionGlue_Substrate", "actionModel_Extraction", nullptr, "actionBatch_Run", nullptr, ""};
const char *const kMaterialsItems[] = {"actionManage_Materials", "actionManage_Compatible_Materials", ""};
const char *const kRenderingItems[] = {"actionRender_Objects", "actionLighting", "actionRender_Object_Edges", nullptr,
                                       "actionChange_Cell_Volume_Viewing_Options", "actionCut_Cell_Volume",
                                       "actionMasked_Volume_Cut", "actionRemove_Masked_Cuts", nullptr,
                                       "actionConfigure_Window_Colors", ""};
const char *const kViewItems[] = {"actionFront_View", "actionBack_View", "actionBottom_View", "actionTop_View",
                                  "actionRight_View", "actionLeft_View", nullptr, "actionShow_Axis",
                                  "actionShow_Lights", nullptr, "actionSet_View", "actionSet_Lighting", ""};
const char *const kWindowsItems[] = {"actionConsole", ""};
const char *const kAboutItems[] = {"actionAbout_Voxfab", ""};
} // namespace

// Each item list ends with an empty string.
const MenuSpec kMainWindowMenus[] = {
    {"menuFile", "&File", kFileItems},
    {"menuEdit", "&Edit", kEditItems},
    {"menuSimulation", "&Simulation", kSimulationItems},
    {"menuMaterials", "&Materials", kMaterialsItems},
    {"menuRendering", "&Rendering", kRenderingItems},
    {"menuView", "&View", kViewItems},
    {"menuWindows", "&Windows", kWindowsItems},
    {"menuAbout", "&About", kAboutItems},
};
const int kMainWindowMenuCount = int(sizeof(kMainWindowMenus) / sizeof(kMainWindowMenus[0]));

} // namespace Ui
