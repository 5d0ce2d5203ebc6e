package visualizador;

import java.nio.file.Path;
import java.util.Locale;

/** Output formats, by the code the launcher sends. */
public enum Formato {
    VIS(null),
    PDF("pdf"),
    XLS("xls"),
    HTML("html"),
    CSV("csv");

    private final String extensao;

    Formato(String extensao) {
        this.extensao = extensao;
    }

    /** File name extension of a format written to disk; null for the on-screen preview. */
    public String extensao() {
        return extensao;
    }

    /** Whether a spreadsheet file is written as .xlsx: its name says so (else .xls). */
    public static boolean xlsx(Path arquivo) {
        return arquivo.getFileName().toString().toLowerCase(Locale.ROOT).endsWith(".xlsx");
    }

    public static Formato doCodigo(String codigo) throws ErroRelatorio {
        for (Formato f : values())
            if (f.name().equals(codigo)) return f;
        throw new ErroRelatorio(String.format(Locale.ROOT,
                "Formato de saída desconhecido: \"%s\". Use VIS, PDF, XLS, HTML ou CSV.", codigo));
    }
}
