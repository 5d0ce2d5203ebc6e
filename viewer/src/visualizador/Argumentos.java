package visualizador;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;

/**
 * The viewer's command line as the launcher sends it: service, report path without extension,
 * format, "S" (confirm the parameters first) or "N", then KEY=VALUE pairs in order.
 */
public record Argumentos(String servico, Path relatorio, Formato formato, boolean confirmar,
                         List<Map.Entry<String, String>> parametros) {

    public static final String USO = "Uso: java -jar jasperviewer.jar SERVIÇO RELATÓRIO VIS|PDF|XLS|HTML S|N [CHAVE=VALOR ...]";

    public static Argumentos analisar(String[] args) throws ErroRelatorio {
        if (args.length < 4)
            throw new ErroRelatorio("Argumentos insuficientes (" + args.length + " de pelo menos 4).\n" + USO);
        if (args[0].isBlank()) throw new ErroRelatorio("O nome do serviço de conexão está vazio.\n" + USO);
        if (args[1].isBlank()) throw new ErroRelatorio("O caminho do relatório está vazio.\n" + USO);
        final Formato formato = Formato.doCodigo(args[2]);
        final boolean confirmar;
        switch (args[3]) {
            case "S" -> confirmar = true;
            case "N" -> confirmar = false;
            default -> throw new ErroRelatorio("O quarto argumento deve ser S (confirmar os parâmetros) ou N, não \""
                    + args[3] + "\".\n" + USO);
        }
        final List<Map.Entry<String, String>> parametros = new ArrayList<>();
        for (int i = 4; i < args.length; i++) {
            final int igual = args[i].indexOf('=');
            if (igual <= 0)
                throw new ErroRelatorio("Parâmetro sem \"CHAVE=\": \"" + args[i] + "\".\n" + USO);
            parametros.add(Map.entry(args[i].substring(0, igual), args[i].substring(igual + 1)));
        }
        final Path relatorio;
        try {
            relatorio = Path.of(args[1]);
        } catch (java.nio.file.InvalidPathException e) {
            throw new ErroRelatorio("Caminho de relatório inválido: \"" + args[1] + "\".");
        }
        return new Argumentos(args[0], relatorio, formato, confirmar, List.copyOf(parametros));
    }
}
